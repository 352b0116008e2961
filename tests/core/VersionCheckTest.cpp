// The version check against the version file of qinglan-service's update host.

#include "ServiceControl.h"
#include "TestSupport.h"
#include "app/VersionCheck.h"
#include "platform/RunLoop.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace ql;

TEST(VersionCheck, Decisions) {
    auto file = [](float ver, std::string url2) {
        VersionFile f;
        f.hasResponse = true;
        f.ver = ver;
        f.url2 = std::move(url2);
        f.details = "新增离线下载";
        f.url = "http://127.0.0.1/download";
        return f;
    };
    const VersionResource v13{1.3f, true}, v14{1.4f, true}, v19{1.9f, true}, off{1.3f, false};
    const std::vector<std::string> both = {"下次再说", "现在更新"}, forced = {"现在更新"};

    EXPECT_EQ(VersionCheck::automaticDecision(v13, file(1.4f, "0"))->buttons, both);
    EXPECT_EQ(VersionCheck::automaticDecision(v13, file(1.4f, "0"))->tag, 10000);
    EXPECT_EQ(VersionCheck::automaticDecision(v13, file(1.4f, "1"))->buttons, forced);
    EXPECT_EQ(VersionCheck::automaticDecision(v13, file(1.4f, "1"))->tag, 20000);
    EXPECT_EQ(VersionCheck::manualDecision(v13, file(1.4f, "1"))->buttons, both);
    EXPECT_FALSE(VersionCheck::automaticDecision(v14, file(1.4f, "0")));
    EXPECT_EQ(VersionCheck::manualDecision(v14, file(1.4f, "0"))->title, "已是最新");
    EXPECT_FALSE(VersionCheck::automaticDecision(off, file(2.0f, "0")));
    EXPECT_FALSE(VersionCheck::manualDecision(off, file(2.0f, "0")));
    // "1.10" reads as 1.1, below an installed 1.9.
    EXPECT_FALSE(VersionCheck::automaticDecision(v19, VersionFile::parse(R"({"VerResponse":{"Results":[{"Ver":"1.10"}]}})")));
    // Nothing fetched: silent at start, "已是最新" when asked.
    EXPECT_FALSE(VersionCheck::automaticDecision(v13, VersionFile::parse("")));
    EXPECT_EQ(VersionCheck::manualDecision(v13, VersionFile::parse("not json"))->message, "无可用更新，当前已是最新版");
    auto alert = *VersionCheck::automaticDecision(v13, file(1.4f, "0"));
    EXPECT_TRUE(VersionCheck::opensDownload(alert, 1));
    EXPECT_FALSE(VersionCheck::opensDownload(alert, 0));
}

TEST(VersionCheck, ResourceFile) {
    qltest::TempDir dir;
    auto write = [&](const std::string& body) {
        std::ofstream(dir.path() / "v.plist") << "<plist version=\"1.0\"><dict>" << body << "</dict></plist>";
        return VersionResource::load(dir.path() / "v.plist");
    };
    auto r = write("<key>VersionCheck</key><real>1.3</real><key>NeverShowVersionCheck</key><string>YES</string>");
    EXPECT_FLOAT_EQ(r.installed, 1.3f);
    EXPECT_TRUE(r.enabled);
    EXPECT_FALSE(write("<key>VersionCheck</key><string>1.3</string><key>NeverShowVersionCheck</key><string>NO</string>").enabled);
    EXPECT_FALSE(write("<key>VersionCheck</key><string>1.3</string>").enabled);
    EXPECT_FALSE(VersionResource::load(dir.path() / "missing.plist").enabled);
    EXPECT_TRUE(VersionResource::shipped().enabled);
}

TEST(VersionCheck, AgainstTheUpdateHost) {
    qltest::ServiceProcess service;
    ASSERT_TRUE(service.ok());
    AppConfig::setCurrent(service.config());
    RunLoop loop;
    MainQueue::setMain(&loop);
    const float installed = VersionResource::shipped().installed;

    // The service announces the installed version: nothing at start, "已是最新" when asked.
    std::optional<std::optional<VersionAlert>> atStart;
    auto call = VersionCheck::checkAutomatically([&](std::optional<VersionAlert> a) { atStart = a; });
    loop.runUntil([&] { return atStart.has_value(); }, std::chrono::seconds(15));
    ASSERT_TRUE(atStart.has_value());
    EXPECT_FALSE(*atStart);
    EXPECT_EQ(VersionCheck::checkManually()->title, "已是最新");

    qltest::controlPost(service.config().hosts.main, "/control/version",
                        {{"ver", std::to_string(installed + 0.1f)}, {"url2", "1"}, {"details", "修复已知问题"}});
    atStart.reset();
    call = VersionCheck::checkAutomatically([&](std::optional<VersionAlert> a) { atStart = a; });
    loop.runUntil([&] { return atStart.has_value(); }, std::chrono::seconds(15));
    ASSERT_TRUE(atStart && *atStart);
    EXPECT_EQ((*atStart)->tag, 20000);
    EXPECT_EQ((*atStart)->message, "修复已知问题");
    EXPECT_EQ(VersionCheck::checkManually()->tag, 10000);

    service.stop();
    EXPECT_EQ(VersionCheck::checkManually()->title, "已是最新");
    MainQueue::setMain(nullptr);
    AppConfig::setCurrent({});
}
