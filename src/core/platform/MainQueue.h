#pragma once
// The queue that owns "the UI thread": every callback the app promises on the main thread is
// posted here. The GUI implements it on the Qt event loop; the service, the tool and tests use
// RunLoop.

#include <chrono>
#include <functional>

namespace ql {

class MainQueue {
public:
    using Task = std::function<void()>;
    virtual ~MainQueue() = default;

    // Thread-safe: may be called from any thread.
    virtual void post(Task task) = 0;
    virtual void postAfter(std::chrono::milliseconds delay, Task task) = 0;

    // True when the caller runs on the thread that executes the posted tasks.
    virtual bool isMainThread() const = 0;

    // The process-wide main queue. Set once at start-up by whoever runs the loop.
    static MainQueue& main();
    static void setMain(MainQueue* queue);
};

}  // namespace ql
