#include "kit/QtMainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <memory>

namespace qlgui {

QtMainQueue::QtMainQueue() : context_(new QObject) {
    if (auto* app = QCoreApplication::instance()) context_->moveToThread(app->thread());
}

QtMainQueue::~QtMainQueue() {
    // Nothing may post to a queue that is gone.
    if (&ql::MainQueue::main() == this) ql::MainQueue::setMain(nullptr);
    if (isMainThread())
        delete context_;
    else
        context_->deleteLater();
}

void QtMainQueue::post(Task task) {
    // A queued call keeps the order of posting, also across threads.
    QMetaObject::invokeMethod(
            context_, [t = std::move(task)] { t(); }, Qt::QueuedConnection);
}

void QtMainQueue::postAfter(std::chrono::milliseconds delay, Task task) {
    // Timers can only start on a thread that runs an event loop, so the GUI thread starts it;
    // the time already spent getting there is taken off the delay.
    const auto due = std::chrono::steady_clock::now() + delay;
    QObject* ctx = context_;
    auto start = [ctx, due, t = std::move(task)]() mutable {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
        QTimer::singleShot(std::max(left, std::chrono::milliseconds(0)), ctx, std::move(t));
    };
    if (isMainThread())
        start();
    else
        QMetaObject::invokeMethod(context_, std::move(start), Qt::QueuedConnection);
}

bool QtMainQueue::isMainThread() const { return QThread::currentThread() == context_->thread(); }

void QtMainQueue::makeMain() { ql::MainQueue::setMain(this); }

}  // namespace qlgui
