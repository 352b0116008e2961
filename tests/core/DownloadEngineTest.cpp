// The lesson download engine against the video host of qinglan-service, with its fault switches:
// whatever the server does, the finished file is either the served file byte for byte or absent.

#include "ServiceControl.h"
#include "TestSupport.h"
#include "download/VDDownLoadEngine.h"
#include "platform/FileUtil.h"
#include "platform/RunLoop.h"
#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace ql;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A small lesson file the service serves for download tests.
constexpr const char* kUid = "DLTESTUSER000001";
constexpr const char* kVid = "DLTESTVIDEO00001";

std::string sha256(const std::string& data) { return Sha256::of(data); }

struct Outcome : VDDonwnLoadEngineDelegate {
    std::vector<float> fractions;
    int finished = 0, failed = 0;
    void getCurrentSize(float f) override { fractions.push_back(f); }
    void requestFinish(VDDownLoadEngine&) override { ++finished; }
    void requestFail(VDDownLoadEngine&) override { ++failed; }
    bool ended() const { return finished + failed > 0; }
};

class DownloadEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok());
        AppConfig::setCurrent(service.config());
        MainQueue::setMain(&loop);
        auto info = qltest::controlGet(main(), std::string("/control/sha256?path=/file/") + kUid + "/" + kVid + ".mp4");
        ASSERT_TRUE(info.is_object() && info.contains("sha256")) << info.dump();
        servedSha = info["sha256"];
        servedSize = info["size"];
    }
    void TearDown() override {
        MainQueue::setMain(nullptr);
        AppConfig::setCurrent({});
    }
    std::string main() const { return service.config().hosts.main; }
    fs::path finished() const { return folder.path() / (std::string(kVid) + ".mp4"); }
    fs::path partial() const { return folder.path() / "temp" / (std::string(kVid) + ".mp4"); }

    void fault(const nlohmann::json& f) {
        nlohmann::json body = f;
        body["host"] = "video";
        ASSERT_EQ(qltest::controlPost(main(), "/control/faults", body).response.status, 200);
    }
    void resetFaults() { qltest::controlPost(main(), "/control/reset", nlohmann::json::object()); }

    Outcome run() {
        Outcome outcome;
        VDDownLoadEngine engine(kUid, kVid, folder.path());
        engine.setDelegate(&outcome);
        engine.startLoad();
        engine.startLoad();  // a second start while running sends nothing more
        loop.runUntil([&] { return outcome.ended(); }, 20s);
        return outcome;
    }

    qltest::ServiceProcess service;
    qltest::TempDir folder;
    RunLoop loop;
    std::string servedSha;
    uint64_t servedSize = 0;
};

}  // namespace

TEST_F(DownloadEngine, EveryServerFaultEndsInTheServedFileOrAFailure) {
    // The whole file once, to cut partial files from.
    Outcome clean = run();
    ASSERT_EQ(clean.finished, 1);
    auto whole = *readWholeFile(finished());
    ASSERT_EQ(sha256(whole), servedSha);
    ASSERT_EQ(whole.size(), servedSize);
    EXPECT_FALSE(fs::exists(partial()));

    const uint64_t start = servedSize / 3;
    struct Case {
        const char* name;
        nlohmann::json fault;
        bool finishes;
    };
    std::vector<Case> cases = {
        {"clean resume", nlohmann::json::object(), true},
        {"200 ignoring the range", {{"ignoreRange", true}}, true},
        {"206 from a wrong start", {{"wrongStart", true}}, false},
        {"206 with a wrong total", {{"wrongTotal", true}}, false},
        {"416 for a valid range", {{"force416", true}}, false},
        {"cut short with a declared length", {{"cutAfterBytes", 300000}, {"declareLength", true}}, false},
        {"cut short without a length", {{"cutAfterBytes", 300000}, {"declareLength", false}}, false},
        {"connection dropped", {{"dropAfterBytes", 200000}}, false},
        {"500 page", {{"status500", true}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(finished());
        fs::create_directories(partial().parent_path());
        ASSERT_TRUE(writeFileAtomically(partial(), std::string_view(whole).substr(0, start)));
        resetFaults();
        if (!c.fault.empty()) fault(c.fault);

        Outcome outcome = run();
        if (c.finishes) {
            ASSERT_EQ(outcome.finished, 1);
            EXPECT_EQ(sha256(*readWholeFile(finished())), servedSha);
            EXPECT_FALSE(fs::exists(partial()));
            continue;
        }
        EXPECT_EQ(outcome.failed, 1);
        EXPECT_FALSE(fs::exists(finished()));
        // What is kept is still the start of the file, so a later resume completes it.
        auto kept = readWholeFile(partial()).value_or("");
        EXPECT_EQ(kept, whole.substr(0, kept.size()));
        resetFaults();
        Outcome resumed = run();
        ASSERT_EQ(resumed.finished, 1);
        EXPECT_EQ(sha256(*readWholeFile(finished())), servedSha);
    }
}

TEST_F(DownloadEngine, ResumeReportsTheShareAlreadyPresent) {
    auto whole = std::string();
    {
        Outcome first = run();
        ASSERT_EQ(first.finished, 1);
        whole = *readWholeFile(finished());
        fs::remove(finished());
    }
    fs::create_directories(partial().parent_path());
    writeFileAtomically(partial(), std::string_view(whole).substr(0, whole.size() * 4 / 10));
    Outcome resumed = run();
    ASSERT_EQ(resumed.finished, 1);
    ASSERT_FALSE(resumed.fractions.empty());
    EXPECT_NEAR(resumed.fractions.front(), 0.4, 0.01);
    EXPECT_FLOAT_EQ(resumed.fractions.back(), 1.0f);
}

TEST_F(DownloadEngine, PauseDeleteAndBadIds) {
    fault({{"slowBytesPerSec", 200000}});
    Outcome outcome;
    {
        VDDownLoadEngine engine(kUid, kVid, folder.path());
        engine.setDelegate(&outcome);
        engine.pauseLoad();  // never started: nothing happens
        engine.startLoad();
        loop.runUntil([&] { return !outcome.fractions.empty(); }, 10s);
        engine.pauseLoad();
        size_t reports = outcome.fractions.size();
        loop.runUntil([] { return false; }, 500ms);
        EXPECT_EQ(outcome.fractions.size(), reports);  // nothing after a pause
        EXPECT_FALSE(outcome.ended());
        EXPECT_GT(engine.fileTotalSize(), 0);
        EXPECT_TRUE(fs::exists(partial()));
        EXPECT_TRUE(engine.deleteLoad());   // the partial file
        EXPECT_FALSE(fs::exists(partial()));
        EXPECT_FALSE(engine.deleteLoad());  // nothing left to remove
    }

    // Ids that are not plain never become paths or addresses.
    for (auto [uid, vid] : std::vector<std::pair<std::string, std::string>>{
             {"../../etc", kVid}, {kUid, "x/../../y"}, {"", kVid}, {kUid, "a b"}}) {
        Outcome bad;
        VDDownLoadEngine engine(uid, vid, folder.path());
        EXPECT_EQ(engine.url(), "");
        engine.setDelegate(&bad);
        engine.startLoad();
        loop.runUntil([&] { return bad.ended(); }, 5s);
        EXPECT_EQ(bad.failed, 1) << uid << " " << vid;
    }
}

TEST_F(DownloadEngine, ServerGoingAwayMidTransferLeavesAResumablePartialFile) {
    fault({{"slowBytesPerSec", 400000}});
    Outcome outcome;
    VDDownLoadEngine engine(kUid, kVid, folder.path());
    engine.setDelegate(&outcome);
    engine.startLoad();
    loop.runUntil([&] { return !outcome.fractions.empty() && outcome.fractions.back() > 0.1f; }, 10s);
    service.stop();
    loop.runUntil([&] { return outcome.ended(); }, 20s);
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_FALSE(engine.isStartAndPause());
    EXPECT_FALSE(fs::exists(finished()));
    auto kept = readWholeFile(partial()).value_or("");
    EXPECT_GT(kept.size(), 0u);

    // The service comes back (on other ports): a new engine resumes the same partial file.
    qltest::ServiceProcess again;
    ASSERT_TRUE(again.ok());
    AppConfig::setCurrent(again.config());
    Outcome resumed;
    VDDownLoadEngine second(kUid, kVid, folder.path());
    second.setDelegate(&resumed);
    second.startLoad();
    loop.runUntil([&] { return resumed.ended(); }, 20s);
    ASSERT_EQ(resumed.finished, 1);
    EXPECT_NEAR(resumed.fractions.front(), static_cast<double>(kept.size()) / servedSize, 0.002);
    EXPECT_EQ(sha256(*readWholeFile(finished())), servedSha);
}

TEST(DownloadTool, SurvivesBeingKilledAgainAndAgain) {
    qltest::ServiceProcess service;
    ASSERT_TRUE(service.ok());
    qltest::TempDir dir;
    const char* uid = "LARGEFILEUSER001";
    const char* vid = "LARGEFILEVIDEO01";
    AppConfig::setCurrent(service.config());
    auto info = qltest::controlGet(service.config().hosts.main, std::string("/control/sha256?path=/file/") + uid + "/" + vid + ".mp4");
    AppConfig::setCurrent({});
    ASSERT_TRUE(info.contains("sha256"));
    // Slow enough that each kill lands mid-transfer.
    qltest::controlPost(service.config().hosts.main, "/control/faults",
                        {{"host", "video"}, {"slowBytesPerSec", 40 * 1024 * 1024}});

    std::vector<std::string> argv = {QINGLAN_TOOL_BIN, "download", "--config", service.configFile().string(),
                                     "--uid", uid, "--vid", vid, "--dir", dir.path().string()};
    std::mt19937 random(std::random_device{}());
    for (int round = 0; round < 4; ++round) {
        pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> args;
            for (auto& a : argv) args.push_back(a.data());
            args.push_back(nullptr);
            int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 2);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 500));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    EXPECT_FALSE(fs::exists(dir.path() / (std::string(vid) + ".mp4")));
    auto last = qltest::runProgram(argv);
    ASSERT_EQ(last.status, 0) << last.err;
    auto file = readWholeFile(dir.path() / (std::string(vid) + ".mp4"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 157286400u);
    EXPECT_EQ(sha256(*file), info["sha256"]);
}
