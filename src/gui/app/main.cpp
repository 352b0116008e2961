// qinglan: the phone client. `qinglan [--config FILE]` opens the phone window against the
// configured service; `--tour DIR` renders the main screens to PNG files in DIR instead;
// `--exit-after-first-frame` prints how long the first frame took and quits.

#include "app/AppDelegate.h"
#include "app/Tour.h"
#include "kit/PhoneWindow.h"
#include "kit/Pictures.h"
#include "kit/QtMainQueue.h"
#include "platform/AppConfig.h"
#include "platform/Preferences.h"
#include "platform/SandboxPaths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <cstdio>
#include <iostream>
#include <sys/resource.h>

namespace {

constexpr const char* kUsage =
    "usage: qinglan [--config FILE] [--tour DIR] [--exit-after-first-frame]\n"
    "  --config FILE            client configuration (default: $QINGLAN_CONFIG, else built-in hosts)\n"
    "  --tour DIR               render the main screens to PNG files in DIR and exit\n"
    "  --exit-after-first-frame print the milliseconds to the first painted frame and exit\n";

// Notices the first paint of the window.
class FirstFrame : public QObject {
public:
    FirstFrame(const QElapsedTimer& clock) : clock_(clock) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            done_ = true;
            QMetaObject::invokeMethod(qApp, [this] {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("%lld\n", static_cast<long long>(clock_.elapsed()));
                std::fprintf(stderr, "peak resident memory: %ld KB\n", usage.ru_maxrss);
                std::fflush(stdout);
                qApp->quit();
            }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    std::string configPath, tourDir;
    bool firstFrame = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--config" || a == "--tour") && i + 1 < argc) {
            (a == "--config" ? configPath : tourDir) = argv[++i];
        } else if (a == "--exit-after-first-frame") {
            firstFrame = true;
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "qinglan: unknown argument " << a << "\n" << kUsage;
            return 2;
        }
    }
    std::string error;
    auto config = ql::AppConfig::loadDefault(configPath, &error);
    if (!config) {
        std::cerr << "qinglan: " << error << "\n";
        return 2;
    }
    ql::AppConfig::setCurrent(*config);
    ql::paths::prepare();

    QApplication app(argc, argv);
    QApplication::setApplicationName("qinglan");
    qlgui::QtMainQueue queue;
    ql::MainQueue::setMain(&queue);

    if (!tourDir.empty()) return qlgui::Tour::run(QString::fromStdString(tourDir));

    // The pictures of the first frame decode on the other core while the window is built.
    qlgui::Pictures::prefetch({"main_00.png", "nav_aaa.png", "tab_a.png", "tab_bg01.png", "Download.png",
                               "Firstview_white.png", "public_white.png", "market_white.png", "class_white.png",
                               "setting_white.png"});

    qlgui::PhoneWindow window;
    qlgui::AppDelegate delegate(&window);
    FirstFrame first(clock);
    if (firstFrame) window.installEventFilter(&first);
    delegate.didFinishLaunching();
    int status = app.exec();
    ql::Preferences::standard().synchronize();
    return status;
}
