#include "TestSupport.h"
#include "Data/DBConnection.h"
#include "Data/QLClassDAO.h"
#include "platform/AppConfig.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace ql;

namespace {

// video id → (user, status, current size) of every download row
using Rows = std::map<std::string, std::tuple<std::string, std::string, std::string>>;

// The k-th write of a round: add a video, update it, then every other step delete the one before.
struct Write {
    enum Kind { Add, Update, Delete } kind;
    std::string vid;
    std::string size;
};

Write writeAt(int round, int k) {
    int i = k / 3;
    auto vid = [&](int n) { return "r" + std::to_string(round) + "-" + std::to_string(n); };
    switch (k % 3) {
    case 0: return {Write::Add, vid(i), "0"};
    case 1: return {Write::Update, vid(i), std::to_string(i) + ".50"};
    default: return i % 2 ? Write{Write::Delete, vid(i - 1), ""} : Write{Write::Update, vid(i), "0.25"};
    }
}

bool perform(QLClassDAO& dao, const Write& w) {
    switch (w.kind) {
    case Write::Add: return dao.addDownloadVieo("uid", w.vid, "5", "0", "第" + w.vid + "讲", "10001");
    case Write::Update: return dao.updateDownloadVieo("uid", w.vid, "5", "1", w.size, "99.00");
    case Write::Delete: return dao.delDownloadVieo("uid", w.vid, "5");
    }
    return false;
}

void simulate(Rows& rows, const Write& w) {
    if (w.kind == Write::Delete) rows.erase(w.vid);
    else if (w.kind == Write::Add) rows[w.vid] = {"5", "0", "0"};
    else rows[w.vid] = {"5", "1", w.size};
}

Rows readRows() {
    Rows rows;
    auto stmt = DBConnection::statementWithQuery("select vid, userid, status, currentsize from QLVideoDownload");
    while (stmt.step() == Statement::kRow)
        rows[*stmt.getString(0)] = {*stmt.getString(1), *stmt.getString(2), *stmt.getString(3)};
    return rows;
}

// Runs the writes of a round forever, reporting each write that returned with one byte.
[[noreturn]] void writer(int round, int fd) {
    QLClassDAO dao;
    for (int k = 0;; ++k) {
        char mark = perform(dao, writeAt(round, k)) ? '+' : 'F';
        if (::write(fd, &mark, 1) != 1 || mark == 'F') ::_exit(1);
    }
}

}  // namespace

TEST(DatabaseDurability, KilledWriterLosesNoReturnedWriteAndLeavesASoundFile) {
    qltest::TempDir dir;
    AppConfig config;
    config.dataDir = dir.path().string();
    AppConfig::setCurrent(config);
    DBConnection::closeSharedDatabase();
    ASSERT_NE(DBConnection::getSharedDatabase(), nullptr);  // the copy exists before the first writer
    DBConnection::closeSharedDatabase();  // no connection may cross fork()

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    Rows before;
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int pipe[2];
        ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(pipe[0]);
            writer(round, pipe[1]);
        }
        ::close(pipe[1]);
        pollfd first{pipe[0], POLLIN, 0};
        ::poll(&first, 1, 2000);  // the writer is under way
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

        int returned = 0;
        char buf[4096];
        for (ssize_t n; (n = ::read(pipe[0], buf, sizeof buf)) > 0;) {
            for (ssize_t i = 0; i < n; ++i) {
                ASSERT_EQ(buf[i], '+') << "a write failed in the writer";
                ++returned;
            }
        }
        ::close(pipe[0]);
        EXPECT_GT(returned, 0);

        ASSERT_NE(DBConnection::getSharedDatabase(), nullptr);
        auto check = DBConnection::statementWithQuery("PRAGMA integrity_check");
        ASSERT_EQ(check.step(), Statement::kRow);
        EXPECT_EQ(check.getString(0).value_or(""), "ok");
        check = Statement();

        // Every returned write is there; the one under way when the writer died may be there too.
        Rows expected = before;
        for (int k = 0; k < returned; ++k) simulate(expected, writeAt(round, k));
        Rows withNext = expected;
        simulate(withNext, writeAt(round, returned));
        Rows actual = readRows();
        EXPECT_TRUE(actual == expected || actual == withNext) << returned << " writes returned";
        before = actual;
        DBConnection::closeSharedDatabase();
    }
    AppConfig::setCurrent({});
}
