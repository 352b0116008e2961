#pragma once
// A plain event loop implementing MainQueue: tasks and timers run one by one on the thread that
// calls run().

#include "platform/MainQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace ql {

class RunLoop final : public MainQueue {
public:
    RunLoop();
    ~RunLoop() override;

    void post(Task task) override;
    void postAfter(std::chrono::milliseconds delay, Task task) override;
    bool isMainThread() const override;

    // Runs until quit() is called.
    void run();
    // Runs until pred() holds or the time-out passes; returns pred(). pred is checked after each task.
    bool runUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
    // Runs tasks that are due now, without waiting.
    void runPending();
    void quit();

    // Makes the calling thread the loop's thread (the constructing thread by default).
    void adoptCurrentThread();

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        Clock::time_point due;
        unsigned long long seq;
        Task task;
    };
    bool runOne(std::unique_lock<std::mutex>& lock, Clock::time_point waitUntil);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
    std::vector<Timer> timers_;  // heap ordered by due time, then sequence
    unsigned long long seq_ = 0;
    bool quit_ = false;
    std::thread::id thread_;
};

}  // namespace ql
