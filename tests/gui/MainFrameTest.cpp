// The app shell against qinglan-service, offscreen: start-up, the tab actions and the login gate,
// login and registration through their screens, the version check at start, and the real program.

#include "ServiceControl.h"
#include "TestSupport.h"
#include "account/FormField.h"
#include "account/LoginActionViewController.h"
#include "account/Logout.h"
#include "account/ViewController.h"
#include "app/AppDelegate.h"
#include "app/QLMainVC.h"
#include "app/UrlOpener.h"
#include "app/VersionCheckUI.h"
#include "kit/Alert.h"
#include "kit/Animations.h"
#include "kit/NavigationStack.h"
#include "kit/OverlayNotice.h"
#include "kit/PhoneWindow.h"
#include "kit/StackedPanels.h"
#include "kit/QtMainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/SandboxPaths.h"

#include <QApplication>
#include <QPointer>

#include <fstream>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace qlgui;

namespace {

// Runs the event loop until `done` holds or the time is up.
bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok());
        ql::AppConfig::setCurrent(service.config());
        ql::MainQueue::setMain(&queue);
        ql::paths::prepare();
        Animations::setEnabled(false);
        UrlOpener::setHandler([this](const QString& url) { opened << url; });
    }
    void TearDown() override {
        delegate.reset();
        window.reset();
        ql::MainQueue::setMain(nullptr);
        ql::Preferences::standard().open({});
        ql::AppConfig::setCurrent({});
    }
    void launch() {
        window = std::make_unique<PhoneWindow>();
        delegate = std::make_unique<AppDelegate>(window.get());
        delegate->didFinishLaunching();
    }
    QLMainVC* main() { return delegate->mainVC(); }
    NavigationStack* presented() { return delegate->navigationController()->presented(); }
    Alert* alert() { return Alert::visible(window.get()); }

    qltest::ServiceProcess service;
    QtMainQueue queue;
    std::unique_ptr<PhoneWindow> window;
    std::unique_ptr<AppDelegate> delegate;
    QStringList opened;
};

}  // namespace

TEST_F(MainFrame, StartsOnTheNewsTabWithWifiOnlyOn) {
    ql::Preferences::standard().setObject("wifi", "ONLYWIFIISOFF");
    launch();
    EXPECT_EQ(ql::Preferences::standard().stringForKey("wifi"), "ONLYWIFIISON");
    EXPECT_EQ(main()->title(), "资讯");
    EXPECT_EQ(main()->selectedSection(), 0);
    EXPECT_EQ(main()->selectedButton(), 0);
    ASSERT_TRUE(main()->rightItem());
    EXPECT_EQ(main()->subscribedColumns().at(0), "头条");
    // The service announces the installed version: no alert.
    waitFor([] { return false; }, 300);
    EXPECT_EQ(alert(), nullptr);
}

TEST_F(MainFrame, TabActionsAndTheLoginGate) {
    auto& prefs = ql::Preferences::standard();
    prefs.setObject("myCart", nlohmann::json::array({"10001"}));
    launch();
    struct Case { std::function<void()> tap; int section; const char* title; bool rightItem; };
    std::vector<Case> cases = {
        {[&] { main()->publicCourses(); }, 1, "公开课", false},
        {[&] { main()->market(); }, 2, "在线商城", true},
        {[&] { main()->setting(); }, 4, "个人中心", true},
        {[&] { main()->first(); }, 0, "资讯", true},
    };
    for (const auto& c : cases) {
        c.tap();
        EXPECT_EQ(main()->selectedSection(), c.section) << c.title;
        EXPECT_EQ(main()->selectedButton(), c.section) << c.title;
        EXPECT_EQ(main()->title(), c.title);
        EXPECT_EQ(main()->rightItem() != nullptr, c.rightItem) << c.title;
    }

    // Logged out: my courses brings the login screen over the section shown, and the login
    // state (with the cart) is cleared.
    main()->course();
    ASSERT_TRUE(presented());
    EXPECT_TRUE(qobject_cast<ViewController*>(presented()->topScreen()));
    EXPECT_EQ(main()->selectedSection(), 0);
    EXPECT_FALSE(prefs.contains("myCart"));
    delegate->navigationController()->dismiss(false);

    // The same through the tab bar ends on the personal centre.
    main()->tabBarSelected(3);
    EXPECT_EQ(main()->selectedSection(), 4);
    delegate->navigationController()->dismiss(false);

    prefs.setObject("userid", "kaoshi2026");
    main()->course();
    EXPECT_EQ(main()->selectedSection(), 3);
    EXPECT_EQ(main()->title(), "我的课程");
    EXPECT_FALSE(presented());
}

TEST_F(MainFrame, LoginThroughItsScreen) {
    launch();
    main()->course();
    auto* login = qobject_cast<ViewController*>(presented()->topScreen());
    ASSERT_TRUE(login);

    login->loginAction();
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->message(), "用户名或密码不能为空!");
    alert()->press(0);

    login->accountField()->edit()->setText("kaoshi2026");
    login->passwordField()->edit()->setText("not-my-password");
    login->loginAction();
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->message(), "用户名或密码不正确,请重试!");
    alert()->press(0);
    EXPECT_FALSE(ql::Preferences::standard().contains("userid"));

    login->passwordField()->edit()->setText("qinglan123");
    login->loginAction();
    ASSERT_TRUE(waitFor([&] { return presented() == nullptr; }));
    EXPECT_EQ(ql::Preferences::standard().stringForKey("True_userid"), "20261");
    main()->course();
    EXPECT_EQ(main()->selectedSection(), 3);
}

TEST_F(MainFrame, LoginWithTheServiceDown) {
    launch();
    main()->course();
    auto* login = qobject_cast<ViewController*>(presented()->topScreen());
    ASSERT_TRUE(login);
    service.stop();
    login->accountField()->edit()->setText("kaoshi2026");
    login->passwordField()->edit()->setText("qinglan123");
    login->loginAction();
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr && !login->isLoading(); }));
    EXPECT_EQ(alert()->message(), "请检查网络是否正常 没有找到可用的网络!");
    // What was typed stays: the logged-in test passes without a user id.
    EXPECT_EQ(ql::Preferences::standard().stringForKey("userid"), "kaoshi2026");
    EXPECT_FALSE(ql::Preferences::standard().contains("True_userid"));
}

TEST_F(MainFrame, RegistrationLandsOnAFreshMainFrame) {
    launch();
    main()->course();
    auto* login = qobject_cast<ViewController*>(presented()->topScreen());
    ASSERT_TRUE(login);
    login->regActiontest();
    auto* reg = qobject_cast<LoginActionViewController*>(presented()->presented()->topScreen());
    ASSERT_TRUE(reg);

    reg->usernameField()->edit()->setText("kaoshi2026");
    reg->passwordField()->edit()->setText("abc12345");
    reg->useremailField()->edit()->setText("again@qinglan.cn");
    reg->repasswordField()->edit()->setText("abc12345");
    reg->submit();
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->message(), "用户名已存在，请输入新的用户名,请重试!");
    alert()->press(0);

    QPointer<QLMainVC> before = main();
    reg->usernameField()->edit()->setText("shenlun_2027");
    reg->submit();
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->message(), "注册成功，已转入首页!");
    ASSERT_TRUE(waitFor([&] { return before.isNull(); }));
    EXPECT_NE(main(), nullptr);
    EXPECT_EQ(main()->selectedSection(), 0);
    EXPECT_FALSE(presented());
    EXPECT_FALSE(ql::Preferences::standard().contains("userid"));
}

TEST_F(MainFrame, VersionCheckAtStartAndOfflineWarning) {
    qltest::controlPost(service.config().hosts.main, "/control/version",
                        {{"ver", "9.9"}, {"url2", "0"}, {"details", "新增课程离线下载"}, {"url", "http://127.0.0.1/app"}});
    launch();
    ASSERT_TRUE(waitFor([&] { return alert() != nullptr; }));
    EXPECT_EQ(alert()->title(), "有新版本了～");
    EXPECT_EQ(alert()->buttons(), (QStringList{"下次再说", "现在更新"}));
    alert()->press(1);
    EXPECT_EQ(opened, QStringList{"http://127.0.0.1/app"});

    auto config = service.config();
    config.network = "3g";
    ql::AppConfig::setCurrent(config);
    int started = 0;
    main()->startOfflineDownload = [&] { ++started; };
    main()->Download_for_offline();
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "警告");
    alert()->press(1);
    EXPECT_EQ(started, 1);
    config.network = "wifi";
    ql::AppConfig::setCurrent(config);
    main()->Download_for_offline();
    EXPECT_EQ(started, 2);
    EXPECT_EQ(alert(), nullptr);
}

TEST_F(MainFrame, ManualVersionCheckPageViewsAndLogout) {
    launch();
    VersionCheckUI::checkManually(window.get());
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "已是最新");
    EXPECT_EQ(alert()->buttons(), QStringList{"我知道了"});
    alert()->press(0);

    // A screen with a page name reports when it is shown and hidden.
    auto* page = new Screen();
    page->setPageName("编辑订阅");
    delegate->navigationController()->push(page, false);
    delegate->navigationController()->pop(false);
    const auto host = service.config().hosts.main;
    ASSERT_TRUE(waitFor([&] {
        auto events = qltest::controlGet(host, "/control/records?kind=analytics").dump();
        return events.find("pageEnd") != std::string::npos;
    }));
    auto events = qltest::controlGet(host, "/control/records?kind=analytics").dump();
    EXPECT_NE(events.find("pageBegin"), std::string::npos);
    EXPECT_NE(events.find("编辑订阅"), std::string::npos);

    auto& prefs = ql::Preferences::standard();
    prefs.setObject("userid", "kaoshi2026");
    prefs.setObject("True_userid", "20261");
    main()->setting();
    logout(main());
    EXPECT_FALSE(prefs.contains("userid"));
    ASSERT_TRUE(presented());
    EXPECT_TRUE(qobject_cast<ViewController*>(presented()->topScreen()));
}

TEST_F(MainFrame, MallPanelsFollowTheCatalogueChoices) {
    launch();
    main()->market();
    auto& center = ql::NotificationCenter::defaultCenter();
    auto* panels = main()->mallPanels();
    ASSERT_TRUE(panels);
    EXPECT_EQ(panels->visiblePanelCount(), 1);

    center.post("Push_left", nullptr, {{"tag", "short"}});  // too short: ignored
    EXPECT_FALSE(main()->secondPanel());
    center.post("Push_left", nullptr, {{"tag", "2_nd_QLCourseCate_01_1"}});
    QPointer<QWidget> second = main()->secondPanel();
    ASSERT_TRUE(second);
    EXPECT_EQ(panels->visiblePanelCount(), 2);
    center.post("Push_left_3nd", nullptr, {{"tag", "3_nd"}, {"CategoryId", "1"}, {"C_or_P_id", "100"}});
    ASSERT_TRUE(main()->thirdPanel());
    EXPECT_EQ(panels->visiblePanelCount(), 3);
    EXPECT_EQ(main()->thirdPanel()->property("C_or_P_id").toString(), "100");

    // A second category reuses the level-2 panel and puts the subject panel away.
    center.post("Push_left", nullptr, {{"tag", "2_nd_QLCourseCate_02_2"}});
    EXPECT_EQ(main()->secondPanel(), second);
    EXPECT_EQ(second->property("nextTable").toString(), "QLCourseCate_02");
    EXPECT_EQ(second->property("CategoryId").toString(), "2");
    EXPECT_EQ(panels->visiblePanelCount(), 2);
    center.post("Push_left_3nd", nullptr, {{"tag", "3_nd"}, {"CategoryId", "2"}, {"C_or_P_id", "32"}});
    EXPECT_EQ(panels->visiblePanelCount(), 3);
    EXPECT_EQ(main()->thirdPanel()->property("C_or_P_id").toString(), "32");
}

TEST_F(MainFrame, PaymentDoneAndLessonPlayerBars) {
    ql::Preferences::standard().setObject("userid", "kaoshi2026");
    launch();
    auto* stack = delegate->navigationController();
    stack->push(new Screen(), false);
    stack->present(new Screen(), false);
    ql::NotificationCenter::defaultCenter().post("QLPayNDoneotification");
    EXPECT_FALSE(presented());
    EXPECT_EQ(stack->topScreen(), main());
    EXPECT_EQ(main()->selectedSection(), 3);

    // The player hides the bars while it plays, and on leaving shows them again, its screen
    // popped; after a playback error a notice follows.
    int player = 0;
    stack->push(new Screen(), false);
    ql::NotificationCenter::defaultCenter().post("QLPlayLessonNotificationHiddenNav", &player, {{"hidden", true}});
    EXPECT_TRUE(stack->isNavigationBarHidden());
    ql::NotificationCenter::defaultCenter().post("QLPlayLessonNotificationHiddenNav", &player,
                                                 {{"hidden", false}, {"playbackError", true}});
    EXPECT_FALSE(stack->isNavigationBarHidden());
    EXPECT_EQ(stack->topScreen(), main());
    ASSERT_TRUE(waitFor([&] { return OverlayNotice::visible(window.get()) != nullptr; }, 3000));
    // Other senders change nothing.
    ql::NotificationCenter::defaultCenter().post("QLPlayLessonNotificationHiddenNav", nullptr, {{"hidden", true}});
    EXPECT_FALSE(stack->isNavigationBarHidden());
}

TEST(MainFramePanels, TagSplitting) {
    auto tag = QLMainVC::splitPanelTag("2_nd_QLCourseCate_02_2");
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->prefix, "2_nd");
    EXPECT_EQ(tag->table, "QLCourseCate_02");
    EXPECT_EQ(tag->categoryId, "2");
    EXPECT_FALSE(QLMainVC::splitPanelTag("2_nd_QL"));
}

TEST(Program, FirstFrameAndTour) {
    qltest::ServiceProcess service;
    ASSERT_TRUE(service.ok());
    qltest::TempDir dir;
    auto config = service.config().toJson();
    config["dataDir"] = (dir.path() / "data").string();
    std::ofstream(dir.path() / "client.json") << config.dump();
    auto first = qltest::runProgram({QINGLAN_GUI_BIN, "--config", (dir.path() / "client.json").string(),
                                     "--exit-after-first-frame"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_GT(std::stoi(first.out), 0);

    config["dataDir"] = (dir.path() / "home").string();
    std::ofstream(dir.path() / "tour.json") << config.dump();
    auto tour = qltest::runProgram({QINGLAN_GUI_BIN, "--config", (dir.path() / "tour.json").string(), "--tour",
                                    (dir.path() / "tour").string()});
    ASSERT_EQ(tour.status, 0) << tour.err;
    for (const char* name : {"QLMainVC-tab0", "QLMainVC-tab1", "QLMainVC-tab2", "QLMainVC-tab3", "QLMainVC-tab4", "ViewController",
                             "LoginActionViewController", "Alert-offlineWarning", "Alert-version"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "tour" / (std::string(name) + ".png"))) << name;
    }
    // The tour leaves the user's own home alone.
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "home" / "Documents" / "vidora_new_v14.sqlite"));
}
