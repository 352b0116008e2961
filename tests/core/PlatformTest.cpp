#include "TestSupport.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/RunLoop.h"
#include "protocol/LoginState.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <thread>

using namespace ql;
using namespace std::chrono_literals;

TEST(RunLoop, RunsPostedTasksAndTimersInOrder) {
    RunLoop loop;
    std::vector<int> order;
    loop.postAfter(30ms, [&] { order.push_back(3); });
    loop.postAfter(10ms, [&] { order.push_back(2); });
    std::thread([&] { loop.post([&] { order.push_back(1); }); }).join();
    EXPECT_TRUE(loop.runUntil([&] { return order.size() == 3; }, 2s));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(loop.isMainThread());
    bool other = true;
    std::thread([&] { other = loop.isMainThread(); }).join();
    EXPECT_FALSE(other);
}

TEST(NotificationCenter, TokensUnsubscribeAndObjectsFilter) {
    NotificationCenter center;
    int a = 0, b = 0, sender = 0, other = 0;
    std::string text;
    auto any = center.addObserver("QLDownloadNotification", [&](const Notification& n) { ++a; text = n.objectText; });
    {
        auto only = center.addObserver("QLDownloadNotification", [&](const Notification&) { ++b; }, &sender);
        center.post("QLDownloadNotification", &sender);
        center.post("QLDownloadNotification", &other);
        center.post(Notification{"QLDownloadNotification", nullptr, "1", {}});
        center.post("SomethingElse", &sender);
    }
    center.post("QLDownloadNotification", &sender);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(text, "");

    // An observer that unsubscribes another during a post: the other is not called afterwards.
    ObserverToken second;
    int secondCalls = 0;
    auto first = center.addObserver("X", [&](const Notification&) { second.reset(); });
    second = center.addObserver("X", [&](const Notification&) { ++secondCalls; });
    center.post("X");
    EXPECT_EQ(secondCalls, 0);
}

TEST(Preferences, PersistsAtomicallyWithPrivateMode) {
    qltest::TempDir dir;
    auto file = dir.path() / "Documents" / "preferences.json";
    {
        Preferences prefs(file);
        prefs.setObject("userid", "kaoshi2026");
        prefs.setObject("Userpoint", 120);
        prefs.setObject("myCart", nlohmann::json::array({nlohmann::json::array({"1", "国考申论"})}));
        prefs.setObject("flag", true);
        prefs.setObject("UserFace", nullptr);  // the store keeps no null
        ASSERT_TRUE(prefs.synchronize());
    }
    struct stat st{};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    Preferences again(file);
    EXPECT_EQ(again.stringForKey("userid"), "kaoshi2026");
    EXPECT_EQ(again.integerForKey("Userpoint"), 120);
    EXPECT_EQ(again.stringForKey("Userpoint"), "120");
    EXPECT_EQ((*again.objectForKey("myCart"))[0][1], "国考申论");
    EXPECT_FALSE(again.contains("UserFace"));
    EXPECT_EQ(again.integerForKey("missing"), 0);
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        EXPECT_EQ(entry.path().filename(), "preferences.json");  // no temp file left behind
}

TEST(Preferences, CorruptFileIsKeptAsideNotLost) {
    qltest::TempDir dir;
    auto file = dir.path() / "preferences.json";
    for (const std::string& bad : std::vector<std::string>{"{\"userid\": \"kao", "[1,2]", std::string("\0\0\0", 3)}) {
        std::ofstream(file, std::ios::binary) << bad;
        Preferences prefs(file);
        EXPECT_FALSE(prefs.contains("userid"));
        int aside = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename().string().starts_with("preferences.json.corrupt-")) {
                ++aside;
                std::ifstream in(entry.path(), std::ios::binary);
                std::string kept((std::istreambuf_iterator<char>(in)), {});
                EXPECT_EQ(kept, bad);
                std::filesystem::remove(entry.path());
            }
        }
        EXPECT_EQ(aside, 1);
    }
}

TEST(LoginState, ResetRemovesAccountCartAndFavouritesOnly) {
    qltest::TempDir dir;
    auto& prefs = Preferences::standard();
    prefs.open(dir.path() / "p.json");
    for (const char* key : {"userid", "username", "True_userid", "Userpoint", "UserFace", "myFav", "myCart"})
        prefs.setObject(key, "x");
    prefs.setObject("wifi", "ONLYWIFIISOFF");
    prefs.setObject("returncode", "0");
    EXPECT_TRUE(LoginState::isLoggedIn());
    LoginState::reset();
    EXPECT_FALSE(LoginState::isLoggedIn());
    Preferences reread(dir.path() / "p.json");  // flushed
    EXPECT_FALSE(reread.contains("myCart"));
    EXPECT_FALSE(reread.contains("True_userid"));
    EXPECT_EQ(reread.stringForKey("wifi"), "ONLYWIFIISOFF");
    EXPECT_EQ(reread.stringForKey("returncode"), "0");
    prefs.open({});
}
