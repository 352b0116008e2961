#include "HTTP/CachedLoader.h"

#include "HTTP/ResponseCache.h"
#include "platform/Reachability.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

namespace ql {

namespace {

// A few threads for the loader's blocking steps. A probe of an unreachable host can take its whole
// time-out, so several run side by side. Never destroyed; the threads are joined at exit.
class Workers {
public:
    static Workers& instance() {
        static Workers* workers = new Workers;
        static struct Stopper {
            ~Stopper() { workers->shutdown(); }
        } stopper;
        return *workers;
    }

    bool post(std::function<void()> task) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return false;
            tasks_.push_back(std::move(task));
        }
        wake_.notify_one();
        return true;
    }

private:
    static constexpr int kThreads = 4;

    Workers() {
        for (int i = 0; i < kThreads; ++i) threads_.emplace_back([this] { run(); });
    }

    void run() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
                if (stopping_) return;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    void shutdown() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            tasks_.clear();
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

HttpResult failure(HttpError::Code code, std::string message) {
    HttpResult r;
    r.error = HttpError{code, std::move(message)};
    return r;
}

class LoadCall final : public HttpCall, public std::enable_shared_from_this<LoadCall> {
public:
    LoadCall(HttpRequestSpec options, std::function<void(HttpResult)> done, MainQueue& queue)
        : options_(std::move(options)), done_(std::move(done)), queue_(queue), usesMainQueue_(&queue == &MainQueue::main()) {}

    void start() { onWorker([self = shared_from_this()] { self->step(self->options_.url); }); }

    void cancel() override {
        HttpCallPtr net;
        {
            std::lock_guard lock(mutex_);
            cancelled_ = true;
            done_ = nullptr;
            net = std::move(net_);
        }
        if (net) net->cancel();
    }

private:
    bool cancelled() {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }

    void onWorker(std::function<void()> task) {
        if (!Workers::instance().post(std::move(task))) finish(failure(HttpError::Code::Other, "the loader is shutting down"));
    }

    // One hop: the serve rule decides between the stored entry and the network.
    void step(const std::string& url) {
        if (cancelled()) return;
        if (options_.useResponseCache && ResponseCache::shouldTryCache(url, options_.method)) serveFromCache(url);
        else send(url);
    }

    void serveFromCache(const std::string& url) {
        auto entry = ResponseCache::entryForRequest(url);
        if (!entry) {
            finish(failure(HttpError::Code::CannotConnectToHost,
                           "could not connect to " + Reachability::hostPortOfUrl(url) + " and no stored answer"));
        } else if (!entry->redirectTarget.empty()) {
            follow(entry->redirectTarget, entry->response.status);
        } else {
            HttpResult r;
            r.response = std::move(entry->response);
            r.fromCache = true;
            finish(std::move(r));
        }
    }

    void send(const std::string& url) {
        HttpRequestSpec hop = options_;
        hop.url = url;
        auto self = shared_from_this();
        auto call = httpExchange(hop, [self, url](HttpResult r, std::string target) {
            // On the I/O thread: storing writes a file, so it moves to a loader thread.
            self->onWorker([self, url, r = std::move(r), target = std::move(target)]() mutable {
                self->received(url, std::move(r), target);
            });
        });
        std::unique_lock lock(mutex_);
        if (cancelled_) {
            lock.unlock();
            call->cancel();
            return;
        }
        net_ = std::move(call);
    }

    void received(const std::string& url, HttpResult r, const std::string& redirectTarget) {
        if (cancelled()) return;
        if (r.error) return finish(std::move(r));
        // Answers to other methods are not stored: an entry stands for what a GET of the URL gives.
        // A file that cannot be written only costs the entry, never the answer.
        if (options_.useResponseCache && options_.method == "GET" && ResponseCache::handlesUrl(url))
            ResponseCache::storeEntry({url, r.response, redirectTarget});
        if (!redirectTarget.empty()) follow(redirectTarget, r.response.status);
        else finish(std::move(r));
    }

    void follow(const std::string& target, long status) {
        if (++redirects_ > CachedLoader::kMaxRedirects)
            return finish(failure(HttpError::Code::Other, "too many redirects, last to " + target));
        // As browsers do: 303, and 301/302 after a POST, continue as a GET without body.
        if (status == 303 || ((status == 301 || status == 302) && options_.method == "POST")) {
            options_.method = "GET";
            options_.body.clear();
        }
        step(target);
    }

    void finish(HttpResult r) {
        // Posting under the lock: once cancel() has returned, the queue is never touched again, so
        // an owner may cancel its calls and then let its queue go.
        std::lock_guard lock(mutex_);
        if (cancelled_) return;
        // The process's main queue is looked up now, not at the start: a loop that went away in
        // the meantime (at exit) has withdrawn itself, and the answer goes to the idle fallback.
        MainQueue& queue = usesMainQueue_ ? MainQueue::main() : queue_;
        queue.post([self = shared_from_this(), r = std::move(r)]() mutable {
            std::function<void(HttpResult)> done;
            {
                std::lock_guard lock(self->mutex_);
                if (self->cancelled_) return;
                done = std::move(self->done_);
                self->net_.reset();
            }
            if (done) done(std::move(r));
        });
    }

    HttpRequestSpec options_;  // loader threads only, one step at a time
    int redirects_ = 0;
    std::recursive_mutex mutex_;  // recursive: a DirectQueue runs the delivery inside finish()
    bool cancelled_ = false;
    std::function<void(HttpResult)> done_;
    HttpCallPtr net_;
    MainQueue& queue_;
    const bool usesMainQueue_;
};

// Runs posted tasks at once on the posting thread: httpLoadSync's answer lands straight in its promise.
class DirectQueue final : public MainQueue {
public:
    void post(Task task) override { task(); }
    void postAfter(std::chrono::milliseconds delay, Task task) override {
        std::this_thread::sleep_for(delay);
        task();
    }
    bool isMainThread() const override { return false; }
};

}  // namespace

HttpCallPtr CachedLoader::load(HttpRequestSpec options, std::function<void(HttpResult)> done, MainQueue& queue) {
    auto call = std::make_shared<LoadCall>(std::move(options), std::move(done), queue);
    call->start();
    return call;
}

HttpCallPtr httpLoad(HttpRequestSpec options, std::function<void(HttpResult)> done, MainQueue& queue) {
    return CachedLoader::load(std::move(options), std::move(done), queue);
}

HttpResult httpLoadSync(HttpRequestSpec options) {
    static DirectQueue direct;
    auto promise = std::make_shared<std::promise<HttpResult>>();
    auto answer = promise->get_future();
    auto call = CachedLoader::load(std::move(options), [promise](HttpResult r) { promise->set_value(std::move(r)); }, direct);
    return answer.get();
}

}  // namespace ql
