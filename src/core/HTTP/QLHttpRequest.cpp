#include "HTTP/QLHttpRequest.h"

#include "HTTP/ResponseDecoder.h"
#include "platform/NetworkActivity.h"

namespace ql {

std::shared_ptr<QLHttpRequest> QLHttpRequest::create() {
    return std::shared_ptr<QLHttpRequest>(new QLHttpRequest());
}

std::shared_ptr<QLHttpRequestThread> QLHttpRequestThread::create() {
    return std::shared_ptr<QLHttpRequestThread>(new QLHttpRequestThread());
}

QLHttpRequest::~QLHttpRequest() = default;

void QLHttpRequest::getUrl(const std::string& url) {
    urlString_ = url;
    HttpRequestSpec options;
    options.url = url;
    options.maxBodyBytes = kMaxAnswerBytes;
    dataSource_.clear();
    // The call holds the request until it ends: a screen may drop its own reference at once.
    connect_ = httpLoad(std::move(options), [self = shared_from_this()](HttpResult result) {
        self->finished(std::move(result));
    });
}

void QLHttpRequest::test() {
    if (!connect_) return;
    connect_->cancel();
    connect_.reset();
    NetworkActivity::off();
}

void QLHttpRequest::finished(HttpResult result) {
    connect_.reset();
    if (result.error) {
        reportFailure(*result.error);
        return;
    }
    // The HTTP status is not looked at: an error page is decoded like any answer.
    dataSource_ = std::move(result.response.body);
    ResponseDecoder::decode(dataSource_, identify_, delegate_, classItems_, this);
}

void QLHttpRequest::reportFailure(const HttpError& error) {
    if (GetArrayDelegate* d = delegate_.get()) d->getDidFailWithError(error);
}

void QLHttpRequestThread::reportFailure(const HttpError&) {
    dataSource_.clear();
    if (GetArrayDelegate* d = delegate_.get()) d->getJson(std::nullopt);
    if (GetArrayDelegate* d = delegate_.get()) d->getArray(classItems_);
}

}  // namespace ql
