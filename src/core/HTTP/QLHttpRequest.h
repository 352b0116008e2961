#pragma once
// The single-use API client: one GET of a complete service address, decoded into records and
// delivered to the delegate on the main queue.
//
//   auto request = QLHttpRequest::create();
//   request->setDelegate(this);
//   request->getUrl(url);            // returns at once; the request keeps itself alive
//   ...
//   request->test();                 // cancel: no callback follows
//
// A delegate that is destroyed is never called; a screen still cancels its requests when it
// goes away so that nothing is decoded for nobody.

#include "HTTP/GetArrayDelegate.h"
#include "platform/HttpTransport.h"

#include <memory>
#include <optional>
#include <string>

namespace ql {

class QLHttpRequest : public std::enable_shared_from_this<QLHttpRequest> {
public:
    static std::shared_ptr<QLHttpRequest> create();
    virtual ~QLHttpRequest();

    void setDelegate(GetArrayDelegate* delegate) { delegate_ = DelegateRef(delegate); }
    void setIdentify(std::string identify) { identify_ = std::move(identify); }
    void getUrl(const std::string& url);
    void test();

    const std::optional<RecordList>& classItems() const { return classItems_; }
    const std::string& urlString() const { return urlString_; }
    const std::string& identify() const { return identify_; }
    GetArrayDelegate* delegate() const { return delegate_.get(); }
    bool isLoading() const { return connect_ != nullptr; }

protected:
    QLHttpRequest() = default;
    // How a transport failure reaches the delegate.
    virtual void reportFailure(const HttpError& error);

    std::string dataSource_;
    std::optional<RecordList> classItems_;
    DelegateRef delegate_;
    std::string urlString_;
    std::string identify_;
    HttpCallPtr connect_;

private:
    void finished(HttpResult result);
};

// Differs only in how a network failure is reported: getJson with nothing, then getArray with
// the (absent) records, as the offline download expects.
class QLHttpRequestThread : public QLHttpRequest {
public:
    static std::shared_ptr<QLHttpRequestThread> create();

protected:
    QLHttpRequestThread() = default;
    void reportFailure(const HttpError& error) override;
};

}  // namespace ql
