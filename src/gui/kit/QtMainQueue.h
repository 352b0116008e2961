#pragma once
// The main queue of the GUI process: tasks posted from any thread run on the Qt GUI thread,
// in the order they were posted. Install it with makeMain() once the QApplication exists.

#include <QObject>
#include <QPointer>

#include "platform/MainQueue.h"

namespace qlgui {

class QtMainQueue : public ql::MainQueue {
public:
    // Must be created after the QApplication; its tasks run on the application's thread
    // whichever thread created it.
    QtMainQueue();
    ~QtMainQueue() override;
    QtMainQueue(const QtMainQueue&) = delete;
    QtMainQueue& operator=(const QtMainQueue&) = delete;

    void post(Task task) override;
    void postAfter(std::chrono::milliseconds delay, Task task) override;
    bool isMainThread() const override;

    // Makes this queue the process-wide main queue.
    void makeMain();

private:
    // Lives on the GUI thread; tasks queued to it are dropped when it goes away.
    QObject* context_;
};

}  // namespace qlgui
