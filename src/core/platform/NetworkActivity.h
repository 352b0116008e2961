#pragma once
// The network activity indicator, as a counter the GUI can show: on while it is above zero.
// Switching it off more often than on never takes it below zero.

#include <atomic>

namespace ql {

class NetworkActivity {
public:
    static void on() { ++count_; }
    static void off() {
        int c = count_.load();
        while (c > 0 && !count_.compare_exchange_weak(c, c - 1)) {
        }
    }
    static bool visible() { return count_.load() > 0; }
    static int count() { return count_.load(); }
    static void reset() { count_ = 0; }

private:
    static inline std::atomic<int> count_{0};
};

}  // namespace ql
