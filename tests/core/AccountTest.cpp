// Login, registration and logout against qinglan-service, without a window.

#include "Data/DBConnection.h"
#include "Data/QLClassDAO.h"
#include "TestSupport.h"
#include "account/Account.h"
#include "download/SingletonDownloadEngine.h"
#include "platform/Preferences.h"
#include "platform/RunLoop.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

using namespace ql;

namespace {

class AccountFlow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok());
        AppConfig::setCurrent(service.config());
        MainQueue::setMain(&loop);
        DBConnection::closeSharedDatabase();
        paths::prepare();
        Preferences::standard().setObject("myCart", nlohmann::json::array({"10001"}));
    }
    void TearDown() override {
        SingletonDownloadEngine::sharedSingletonDownloadEngine().pauseAllAndDrop();
        MainQueue::setMain(nullptr);
        DBConnection::closeSharedDatabase();
        Preferences::standard().open({});
        AppConfig::setCurrent({});
    }
    HttpResult send(const std::string& url) { return httpLoadSync(Account::requestFor(url)); }
    Account::LoginOutcome login(const std::string& account, const std::string& password) {
        auto result = send(Account::prepareLogin(account, password));
        EXPECT_FALSE(result.error);
        return Account::applyLoginAnswer(result.response.body, account, password);
    }

    qltest::ServiceProcess service;
    RunLoop loop;
};

}  // namespace

TEST_F(AccountFlow, LoginOutcomes) {
    auto& prefs = Preferences::standard();
    EXPECT_EQ(Account::checkLoginFields("", "x"), AccountAlert{"用户名或密码不能为空!"});
    EXPECT_FALSE(Account::checkLoginFields("kaoshi2026", "qinglan123"));

    auto wrong = login("kaoshi2026", "wrong-password");
    EXPECT_EQ(wrong.result, Account::LoginResult::Rejected);
    EXPECT_EQ(wrong.alert, AccountAlert{"用户名或密码不正确,请重试!"});
    EXPECT_FALSE(prefs.contains("userid"));
    EXPECT_FALSE(prefs.contains("myCart"));  // the reset takes the cart too

    // A queued download of the user comes back with the login.
    QLClassDAO().addDownloadVieo("DLTESTUSER000001", "DLTESTVIDEO00001", "20261", "1", "开班导学", "10001");
    auto ok = login("kaoshi2026", "qinglan123");
    EXPECT_EQ(ok.result, Account::LoginResult::LoggedIn);
    EXPECT_FALSE(ok.alert);
    EXPECT_EQ(prefs.stringForKey("userid"), "kaoshi2026");
    EXPECT_EQ(prefs.stringForKey("username"), "qinglan123");
    EXPECT_EQ(*prefs.objectForKey("True_userid"), "20261");  // text, whatever the service sent
    EXPECT_EQ(SingletonDownloadEngine::sharedSingletonDownloadEngine().engineArray().size(), 1u);

    Account::logout();
    EXPECT_FALSE(prefs.contains("userid"));
    EXPECT_FALSE(prefs.contains("True_userid"));
    EXPECT_TRUE(SingletonDownloadEngine::sharedSingletonDownloadEngine().engineArray().empty());

    // An answer that cannot be opened changes nothing more: the typed values stay.
    auto garbage = Account::applyLoginAnswer("<html>502</html>", "someone", "secret");
    EXPECT_EQ(garbage.result, Account::LoginResult::Ignored);
    EXPECT_FALSE(garbage.alert);
    EXPECT_EQ(prefs.stringForKey("userid"), "someone");
}

TEST_F(AccountFlow, NetworkFailureKeepsTheTypedValues) {
    auto url = Account::prepareLogin("kaoshi2026", "qinglan123");
    service.stop();
    auto result = send(url);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(Preferences::standard().stringForKey("userid"), "kaoshi2026");
    EXPECT_EQ(Account::networkFailureAlert().message, "请检查网络是否正常 没有找到可用的网络!");
}

TEST_F(AccountFlow, RegistrationAnswers) {
    struct Case { RegistrationForm form; std::optional<std::string> message; bool registered; };
    std::vector<Case> cases = {
        {{"", "pw123456", "a@b.cn", "pw123456"}, "用户名、密码或电子邮箱 不能为空!", false},
        {{"short", "pw123456", "a@b.cn", "pw123456"}, "用户名长度不能小于六位,请重试!", false},
        {{"newstudent1", "pw123456", "not-an-email", "pw123456"}, "邮件格式不正确,请重试!", false},
        {{"newstudent1", "pw123456", "a@b.cn", "pw654321"}, "两次输入密码不一致,请重试!", false},
        {{"kaoshi2026", "pw123456", "new@b.cn", "pw123456"}, "用户名已存在，请输入新的用户名,请重试!", false},
        {{"备考学员小张", "pw 123456", "beikao@qinglan.cn", "pw 123456"}, "注册成功，已转入首页!", true},
        {{"newstudent2", "pw123456", "BeiKao@qinglan.cn", "pw123456"}, "您输入的邮箱已存在，请输入新的邮箱名,请重试!", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form.username + " " + c.form.useremail);
        auto result = send(Account::prepareRegistration(c.form));
        ASSERT_FALSE(result.error);
        auto outcome = Account::applyRegistrationAnswer(result.response.body);
        EXPECT_EQ(outcome.registered, c.registered);
        ASSERT_TRUE(outcome.alert);
        EXPECT_EQ(outcome.alert->message, *c.message);
    }
    // Registration does not log in; the new account can.
    EXPECT_FALSE(Preferences::standard().contains("userid"));
    EXPECT_EQ(login("备考学员小张", "pw 123456").result, Account::LoginResult::LoggedIn);
}
