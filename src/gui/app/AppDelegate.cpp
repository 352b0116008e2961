#include "app/AppDelegate.h"

#include "Data/QLLessonDBDataSource.h"
#include "Data/QLMyClassDBDataSource.h"
#include "app/QLMainVC.h"
#include "kit/NavigationStack.h"
#include "kit/PhoneWindow.h"
#include "platform/Analytics.h"
#include "platform/AppConfig.h"
#include "platform/Preferences.h"

namespace qlgui {

namespace {
AppDelegate* g_shared = nullptr;
}

AppDelegate::AppDelegate(PhoneWindow* window, QObject* parent) : QObject(parent), window_(window) { g_shared = this; }

AppDelegate::~AppDelegate() {
    if (g_shared == this) g_shared = nullptr;
}

AppDelegate* AppDelegate::shared() { return g_shared; }

NavigationStack* AppDelegate::navigationController() const { return navigationController_; }

QLMainVC* AppDelegate::mainVC() const { return mainVC_; }

bool AppDelegate::didFinishLaunching() {
    // 1. The response cache sits under every request of the app's own: it is part of the loader.
    // 2. Analytics, with the configured key and the channel the app was published through.
    const auto& extra = ql::AppConfig::current().extra;
    ql::Analytics::start(extra.value("analyticsKey", std::string("qinglan-client")), "Appstore");
    // 3.
    registerObserver_ = ql::NotificationCenter::defaultCenter().addObserver(
        "QLRegisterSuccessfulNotification", [this](const ql::Notification&) { registerSuccessful(); });
    // 4. WiFi only is on again at every start.
    // Not flushed here: the value is forced again at every start, and the store is written at
    // the next flush or at exit.
    ql::Preferences::standard().setObject("wifi", "ONLYWIFIISON");
    // 5.–8.
    buildMainFrame();
    window_->show();
    return true;
}

void AppDelegate::buildMainFrame() {
    auto* stack = new NavigationStack();
    mainVC_ = new QLMainVC();
    stack->push(mainVC_, false);
    window_->setContent(stack);  // above whatever was there, which goes away
    navigationController_ = stack;
}

bool AppDelegate::handleOpenURL(const QString& url) {
    if (paymentResultHandler) paymentResultHandler(url);
    return true;
}

void AppDelegate::registerSuccessful() {
    // A fresh main frame on the news tab replaces everything on screen.
    buildMainFrame();
}

void AppDelegate::clearDbDataSource() {
    ql::QLLessonDBDataSource::lessonDataSource().clearLessonItems();
    ql::QLMyClassDBDataSource::lessonDataSource().clearLessonItems();
}

}  // namespace qlgui
