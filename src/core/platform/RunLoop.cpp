#include "platform/RunLoop.h"

#include <algorithm>
#include <atomic>

namespace ql {

namespace {
std::atomic<MainQueue*> g_main{nullptr};

bool laterTimer(const auto& a, const auto& b) {
    return a.due != b.due ? a.due > b.due : a.seq > b.seq;
}
}  // namespace

MainQueue& MainQueue::main() {
    MainQueue* q = g_main.load();
    if (!q) {
        // A process that never set one gets a loop that nobody runs: posting must not crash,
        // but nothing will happen until someone runs it.
        static RunLoop fallback;
        MainQueue* expected = nullptr;
        g_main.compare_exchange_strong(expected, &fallback);
        q = g_main.load();
    }
    return *q;
}

void MainQueue::setMain(MainQueue* queue) { g_main.store(queue); }

RunLoop::RunLoop() : thread_(std::this_thread::get_id()) {}

RunLoop::~RunLoop() {
    if (g_main.load() == this) g_main.store(nullptr);
}

// Notifying under the lock: a loop may be destroyed as soon as its last task ran, and the
// posting thread must not touch the condition variable after that.
void RunLoop::post(Task task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    wake_.notify_all();
}

void RunLoop::postAfter(std::chrono::milliseconds delay, Task task) {
    std::lock_guard lock(mutex_);
    timers_.push_back({Clock::now() + delay, seq_++, std::move(task)});
    std::push_heap(timers_.begin(), timers_.end(), [](auto& a, auto& b) { return laterTimer(a, b); });
    wake_.notify_all();
}

bool RunLoop::isMainThread() const {
    std::lock_guard lock(mutex_);
    return std::this_thread::get_id() == thread_;
}

void RunLoop::adoptCurrentThread() {
    std::lock_guard lock(mutex_);
    thread_ = std::this_thread::get_id();
}

// Runs at most one task; waits for one until waitUntil. Returns whether a task ran.
bool RunLoop::runOne(std::unique_lock<std::mutex>& lock, Clock::time_point waitUntil) {
    for (;;) {
        auto now = Clock::now();
        if (!timers_.empty() && timers_.front().due <= now) {
            std::pop_heap(timers_.begin(), timers_.end(), [](auto& a, auto& b) { return laterTimer(a, b); });
            Task task = std::move(timers_.back().task);
            timers_.pop_back();
            lock.unlock();
            task();
            lock.lock();
            return true;
        }
        if (!tasks_.empty()) {
            Task task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
            lock.lock();
            return true;
        }
        if (quit_ || now >= waitUntil) return false;
        auto until = waitUntil;
        if (!timers_.empty()) until = std::min(until, timers_.front().due);
        wake_.wait_until(lock, until);
    }
}

void RunLoop::run() {
    std::unique_lock lock(mutex_);
    quit_ = false;
    while (!quit_) runOne(lock, Clock::time_point::max());
}

bool RunLoop::runUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    std::unique_lock lock(mutex_);
    quit_ = false;
    for (;;) {
        lock.unlock();
        bool done = pred();
        lock.lock();
        if (done) return true;
        if (quit_ || Clock::now() >= deadline) break;
        runOne(lock, deadline);
    }
    lock.unlock();
    return pred();
}

void RunLoop::runPending() {
    std::unique_lock lock(mutex_);
    while (runOne(lock, Clock::now())) {
    }
}

void RunLoop::quit() {
    std::lock_guard lock(mutex_);
    quit_ = true;
    wake_.notify_all();
}

}  // namespace ql
