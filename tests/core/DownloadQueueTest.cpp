// Download rows and the shared queue: the rules a row runs while downloading, what it writes to
// the database and shows, against the real service, engine and database.

#include "Data/DBConnection.h"
#include "Data/QLClassDAO.h"
#include "ServiceControl.h"
#include "TestSupport.h"
#include "download/SingletonDownloadEngine.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/RunLoop.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

using namespace ql;
using namespace std::chrono_literals;

namespace {

constexpr const char* kLargeUid = "LARGEFILEUSER001";
constexpr const char* kLargeVid = "LARGEFILEVIDEO01";

class DownloadQueue : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok());
        useNetwork("wifi");
        MainQueue::setMain(&loop);
        DBConnection::closeSharedDatabase();
        paths::prepare();
        auto& prefs = Preferences::standard();
        prefs.setObject("userid", "kaoshi2026");
        prefs.setObject("True_userid", "5301");
        prefs.setObject("wifi", "ONLYWIFIISON");
    }
    void TearDown() override {
        SingletonDownloadEngine::sharedSingletonDownloadEngine().pauseAllAndDrop();
        MainQueue::setMain(nullptr);
        DBConnection::closeSharedDatabase();
        Preferences::standard().open({});
        AppConfig::setCurrent({});
    }
    void useNetwork(const char* type) {
        AppConfig config = service.config();
        config.network = type;
        AppConfig::setCurrent(config);
    }
    // A stored download of the large lesson for the logged-in user, and its row.
    std::shared_ptr<DonwLoadView> queueLarge(const char* status = "0") {
        dao.addDownloadVieo(kLargeUid, kLargeVid, "5301", status, "第十二讲：申论大作文", "10001");
        return SingletonDownloadEngine::makeRow(dao.searchDownloadVieobyuid(kLargeUid, kLargeVid).at(0));
    }
    QLVideoDownloadData stored() { return dao.searchDownloadVieobyuid(kLargeUid, kLargeVid).at(0); }

    qltest::ServiceProcess service;
    RunLoop loop;
    QLClassDAO dao;
};

}  // namespace

TEST_F(DownloadQueue, ProgressIsShownOnEvenPercentsAndStoredAtCheckpoints) {
    qltest::controlPost(service.config().hosts.main, "/control/faults",
                        {{"host", "video"}, {"slowBytesPerSec", 4 * 1024 * 1024}});
    auto row = queueLarge();
    EXPECT_EQ(row->look().statusText, "下载中");
    EXPECT_TRUE(row->look().pauseShown);
    row->start();
    loop.runUntil([&] { return row->engine().fileTotalSize() > 0 && row->currentSize() > 0; }, 10s);
    row->engine().pauseLoad();  // from here on the test reports progress itself
    ASSERT_FLOAT_EQ(row->engine().fileTotalSize(), 150.0f);

    row->getCurrentSize(0.305f);
    EXPECT_EQ(stored().currentsize, "45.75");
    EXPECT_EQ(stored().filetotalsize, "150.00");
    EXPECT_EQ(row->look().progressText, "30％");
    EXPECT_EQ(row->look().lengthText, "45.75/150.00MB");

    row->getCurrentSize(0.315f);  // 31 %: neither shown nor stored
    EXPECT_EQ(stored().currentsize, "45.75");
    EXPECT_EQ(row->look().progressText, "30％");

    row->getCurrentSize(0.625f);  // 62 %: the 60 % checkpoint was passed between reports
    EXPECT_EQ(stored().currentsize, "93.75");
    EXPECT_EQ(row->look().progressText, "62％");

    row->pauseButtonPressed();
    EXPECT_EQ(stored().status, "1");
    EXPECT_EQ(row->look().statusText, "已暂停");
    EXPECT_TRUE(row->look().startShown);
    EXPECT_FALSE(row->look().pauseShown);
}

TEST_F(DownloadQueue, WifiOnlyAndFreeSpaceRulesPauseWithAnAlert) {
    auto row = queueLarge();
    std::vector<DownloadAlert> alerts;
    row->onAlert = [&](const DownloadAlert& a) { alerts.push_back(a); };

    useNetwork("3g");
    row->getCurrentSize(0.1f);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "当前没有WIFI网络!使用3G下载请更改设置");
    EXPECT_EQ(alerts[0].button, "好");
    EXPECT_EQ(row->state(), "1");
    EXPECT_EQ(stored().status, "1");

    Preferences::standard().setObject("wifi", "ONLYWIFIISOFF");  // 3G allowed now
    row->freeSpace = [] { return std::optional<std::uint64_t>(9ull * 1048576 + 1048575); };
    row->startButtonPressed();
    row->getCurrentSize(0.2f);
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1].message, "当前剩余空间不足10M，请删除部分视频后下载");
    EXPECT_EQ(alerts[1].tag, 10001);
    EXPECT_EQ(row->state(), "1");

    row->freeSpace = [] { return std::optional<std::uint64_t>(10ull * 1048576); };
    row->startButtonPressed();
    row->getCurrentSize(0.2f);
    EXPECT_EQ(alerts.size(), 2u);
    EXPECT_EQ(row->state(), "0");
}

TEST_F(DownloadQueue, FinishedRowStoresItselfAndTellsTheApp) {
    auto row = queueLarge();
    int notified = 0;
    auto token = NotificationCenter::defaultCenter().addObserver("QLDownloadNotification",
        [&](const Notification& n) { notified += n.object == row.get(); });
    std::filesystem::path played;
    row->onPlay = [&](const std::filesystem::path& p) { played = p; };
    row->start();
    loop.runUntil([&] { return row->state() == "2"; }, 30s);
    ASSERT_EQ(row->state(), "2");
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(stored().status, "2");
    EXPECT_EQ(stored().currentsize, "150.00");
    EXPECT_TRUE(row->look().playEnabled);
    row->playButtonPressed();
    EXPECT_EQ(played, paths::caches() / "5301" / (std::string(kLargeVid) + ".mp4"));
}

TEST_F(DownloadQueue, RebuildInitAndLogout) {
    auto& queue = SingletonDownloadEngine::sharedSingletonDownloadEngine();
    dao.addDownloadVieo("DLTESTUSER000001", "DLTESTVIDEO00001", "5301", "1", "已暂停的一讲", "10001");
    dao.updateDownloadVieo("DLTESTUSER000001", "DLTESTVIDEO00001", "5301", "1", "0.50", "2.00");
    queueLarge("0");
    dao.addDownloadVieo("OTHERUSER0000001", "OTHERVIDEO000001", "7777", "0", "别人的课", "1");

    queue.rebuild();
    ASSERT_EQ(queue.engineArray().size(), 2u);  // only the logged-in user's rows
    queue.init();
    for (const auto& row : queue.engineArray()) {
        bool downloading = row->qlvideodownloaddata().status == "0";
        EXPECT_EQ(row->engine().isStartAndPause(), downloading) << row->qlvideodownloaddata().title;
        if (!downloading) {
            row->refreshLb();
            EXPECT_EQ(row->look().progressText, "25％");
            EXPECT_EQ(row->look().lengthText, "0.50/2.00MB");
            EXPECT_FALSE(row->look().playEnabled);
        }
    }

    queue.pauseAllAndDrop();
    EXPECT_TRUE(queue.engineArray().empty());

    // Nobody logged in: no rows at all.
    Preferences::standard().removeObject("True_userid");
    queue.rebuild();
    EXPECT_TRUE(queue.engineArray().empty());
}

TEST(DownloadSpaceTexts, Boundaries) {
    EXPECT_EQ(freeSpaceText(1073741824ull), "1024 MB");
    EXPECT_EQ(freeSpaceText(1073741825ull), "1 GB");
    EXPECT_EQ(freeSpaceText(5ull * 1073741824ull + 7), "5 GB");
    EXPECT_EQ(totalSpaceText(64ull * 1073741824ull), "64.00 GB");
}
