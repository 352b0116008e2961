#include "app/Tour.h"

#include "account/ViewController.h"
#include "app/AppDelegate.h"
#include "app/QLMainVC.h"
#include "app/UrlOpener.h"
#include "app/VersionCheck.h"
#include "kit/Alert.h"
#include "kit/Animations.h"
#include "kit/NavigationStack.h"
#include "kit/PhoneWindow.h"
#include "platform/AppConfig.h"
#include "platform/Preferences.h"
#include "platform/SandboxPaths.h"
#include "protocol/LoginState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace qlgui::Tour {

namespace {

// Lets pending work (layout, pictures, answers that are already in) settle before a picture.
void settle(int ms = 150) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool save(QWidget& window, const QDir& dir, const QString& name) {
    settle();
    const QString file = dir.filePath(name + ".png");
    const bool ok = window.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

void closeAlerts(QWidget& window) {
    while (auto* alert = Alert::visible(&window)) alert->press(0);
    settle(50);
}

}  // namespace

int run(const QString& path) {
    QDir dir(path);
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "qinglan: cannot create %s\n", qPrintable(path));
        return 1;
    }
    // The tour logs in and out as it goes: it runs in a scratch home of its own so that the
    // user's login, downloads and settings stay as they were.
    QTemporaryDir home;
    ql::AppConfig config = ql::AppConfig::current();
    config.dataDir = home.path().toStdString();
    ql::AppConfig::setCurrent(config);
    ql::paths::prepare();
    Animations::setEnabled(false);
    UrlOpener::setHandler([](const QString&) {});  // nothing leaves the tour
    PhoneWindow window;
    AppDelegate delegate(&window);
    delegate.didFinishLaunching();
    settle(600);     // the version check and the account answer come in
    closeAlerts(window);
    bool ok = true;

    QLMainVC* main = delegate.mainVC();
    ok &= save(window, dir, "QLMainVC-tab0");
    main->publicCourses();
    ok &= save(window, dir, "QLMainVC-tab1");
    main->market();
    ok &= save(window, dir, "QLMainVC-tab2");
    main->setting();
    ok &= save(window, dir, "QLMainVC-tab4");

    // Section 3 needs a login: with one it shows, without one it brings up the login screen.
    ql::Preferences::standard().setObject("userid", "kaoshi2026");
    main->course();
    ok &= save(window, dir, "QLMainVC-tab3");
    ql::LoginState::reset();
    main->course();
    ok &= save(window, dir, "ViewController");
    if (auto* login = qobject_cast<ViewController*>(delegate.navigationController()->presented()->topScreen())) {
        login->loginAction();  // empty fields: the alert
        ok &= save(window, dir, "ViewController-emptyFieldsAlert");
        closeAlerts(window);
        login->regActiontest();
        ok &= save(window, dir, "LoginActionViewController");
    }
    delegate.navigationController()->dismiss(false);
    delegate.navigationController()->dismiss(false);
    main->first();

    Alert::show(&window, "警告", "没有可用的WiFi网络，现在离线可能会消耗较多的流量，是否继续?", {"算了", "好的，继续"}, 0, 0, {});
    ok &= save(window, dir, "Alert-offlineWarning");
    closeAlerts(window);

    Alert::show(&window, "有新版本了～", "新增课程离线下载与断点续传，修复已知问题。", {"下次再说", "现在更新"}, 0, 10000, {});
    ok &= save(window, dir, "Alert-version");
    closeAlerts(window);
    Alert::show(&window, "有新版本了～", "本次为重要更新，请升级后继续使用。", {"现在更新"}, -1, 20000, {});
    ok &= save(window, dir, "Alert-versionForced");
    closeAlerts(window);

    std::printf("tour: %s\n", qPrintable(dir.absolutePath()));
    return ok ? 0 : 1;
}

}  // namespace qlgui::Tour
