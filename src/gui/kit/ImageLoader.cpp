#include "kit/ImageLoader.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QSet>

#include <vector>

#include "kit/Pictures.h"
#include "platform/HttpTransport.h"

namespace qlgui {

namespace {

// The address a label last asked for, so that a late picture for an older one is not shown.
constexpr char kWantedUrl[] = "qlImageLoaderUrl";

struct Waiter {
    QPointer<QObject> context;
    const QObject* object;  // the same, to recognise it while it is being destroyed
    ImageLoader::Callback done;
    QMetaObject::Connection watch;
};

struct Pending {
    ql::HttpCallPtr call;
    std::vector<Waiter> waiters;
};

// The loader's state for the run. Never destroyed: pixmaps must not outlive the application
// object, and static destruction would run after it.
struct LoaderState {
    QCache<QString, QPixmap> memory{ImageLoader::kDefaultMemoryBytes};
    QSet<QString> failed;
    QHash<QString, Pending> pending;
    QObject watcher;  // receives the destroyed() signals of the waiting objects
    int networkLoads = 0;
};

LoaderState& state() {
    static LoaderState* s = new LoaderState;
    return *s;
}

qint64 costOf(const QPixmap& pixmap) {
    return static_cast<qint64>(pixmap.width()) * pixmap.height() * std::max(pixmap.depth(), 8) / 8;
}

// Drops the waiters of `url` whose object is gone; cancels the request when none is left.
void prune(const QString& url, const QObject* gone) {
    auto& s = state();
    auto it = s.pending.find(url);
    if (it == s.pending.end()) return;
    auto& waiters = it->waiters;
    std::erase_if(waiters, [gone](const Waiter& w) { return w.context.isNull() || w.object == gone; });
    if (!waiters.empty()) return;
    ql::HttpCallPtr call = it->call;
    s.pending.erase(it);
    if (call) call->cancel();
}

QPixmap decode(const ql::HttpResult& result) {
    if (result.error || result.response.status < 200 || result.response.status >= 300) return {};
    QImage image;
    const auto& body = result.response.body;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(body.data()), static_cast<int>(body.size()))) return {};
    return QPixmap::fromImage(image);
}

void finished(const QString& url, const ql::HttpResult& result) {
    auto& s = state();
    auto it = s.pending.find(url);
    if (it == s.pending.end()) return;
    std::vector<Waiter> waiters = std::move(it->waiters);
    s.pending.erase(it);

    const QPixmap pixmap = decode(result);
    if (pixmap.isNull()) {
        s.failed.insert(url);
    } else {
        s.failed.remove(url);
        s.memory.insert(url, new QPixmap(pixmap), costOf(pixmap));
    }
    // A callback may destroy the objects of later waiters: each is checked when its turn comes.
    for (Waiter& w : waiters) {
        QObject::disconnect(w.watch);
        if (w.context) w.done(pixmap);
    }
}

}  // namespace

void ImageLoader::load(QLabel* target, const QString& url, const QString& placeholderPicture, Options options) {
    if (!target) return;
    target->setScaledContents(true);
    target->setProperty(kWantedUrl, url);
    const QPixmap held = cached(url);
    if (!held.isNull()) {
        target->setPixmap(held);
        return;
    }
    target->setPixmap(placeholderPicture.isEmpty() ? QPixmap() : Pictures::pixmap(placeholderPicture));
    load(target, url, [target, url](const QPixmap& pixmap) {
        // Only called while the label lives.
        if (!pixmap.isNull() && target->property(kWantedUrl).toString() == url) target->setPixmap(pixmap);
    }, options);
}

void ImageLoader::load(QObject* context, const QString& url, Callback done, Options options) {
    if (!context || !done) return;
    auto& s = state();
    if (const QPixmap* held = s.memory.object(url)) {
        done(*held);
        return;
    }
    if (url.isEmpty() || (s.failed.contains(url) && !options.retryFailed)) {
        done(QPixmap());
        return;
    }
    Waiter waiter{context, context, std::move(done), {}};
    waiter.watch = QObject::connect(context, &QObject::destroyed, &s.watcher,
                                    [url](QObject* gone) { prune(url, gone); });
    Pending& pending = s.pending[url];
    pending.waiters.push_back(std::move(waiter));
    if (pending.call) return;  // already on its way

    ++s.networkLoads;
    ql::HttpRequestSpec request;
    request.url = url.toStdString();
    auto call = ql::httpLoad(std::move(request), [url](ql::HttpResult result) { finished(url, result); });
    auto it = s.pending.find(url);
    if (it != s.pending.end() && !it->call) it->call = std::move(call);
}

QPixmap ImageLoader::cached(const QString& url) {
    const QPixmap* held = state().memory.object(url);
    return held ? *held : QPixmap();
}

bool ImageLoader::hasFailed(const QString& url) { return state().failed.contains(url); }

int ImageLoader::networkLoads() { return state().networkLoads; }

int ImageLoader::pendingCount() { return static_cast<int>(state().pending.size()); }

void ImageLoader::setMemoryLimit(qint64 bytes) { state().memory.setMaxCost(bytes); }

void ImageLoader::clearMemory() {
    state().memory.clear();
    state().failed.clear();
}

}  // namespace qlgui
