#pragma once
// Waiting in widget tests: run the event loop until a condition holds or a deadline passes.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <functional>

namespace qltest {

inline bool runUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Deletes what deleteLater() left behind.
inline void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace qltest
