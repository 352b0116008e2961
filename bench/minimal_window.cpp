// The yardstick for the client's cold start: a Qt Widgets window with one label that exits after
// its first painted frame, printing the milliseconds it took and its peak resident memory.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <cstdio>
#include <sys/resource.h>

namespace {
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!done_ && e->type() == QEvent::Paint) {
            done_ = true;
            QMetaObject::invokeMethod(qApp, [this] {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("%lld\n", static_cast<long long>(clock_.elapsed()));
                std::fprintf(stderr, "peak resident memory: %ld KB\n", usage.ru_maxrss);
                qApp->quit();
            }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(o, e);
    }

private:
    const QElapsedTimer& clock_;
    bool done_ = false;
};
}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QLabel label("青岚网校");
    label.resize(320, 568);
    FirstPaint first(clock);
    label.installEventFilter(&first);
    label.show();
    return app.exec();
}
