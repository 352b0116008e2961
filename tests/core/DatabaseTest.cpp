#include "TestSupport.h"
#include "Data/DBConnection.h"
#include "Data/QLClassDAO.h"
#include "Data/QLLessonDBDataSource.h"
#include "Data/QLMyClassDBDataSource.h"
#include "Data/Transaction.h"
#include "platform/AppConfig.h"
#include "platform/FileUtil.h"
#include "platform/Preferences.h"
#include "platform/SandboxPaths.h"

#include <gtest/gtest.h>

#include <set>

using namespace ql;
namespace fs = std::filesystem;

namespace {

class Database : public ::testing::Test {
protected:
    void SetUp() override {
        DBConnection::closeSharedDatabase();
        AppConfig config;
        config.dataDir = dir.path().string();
        AppConfig::setCurrent(config);
        Preferences::standard().open(paths::documents() / "preferences.json");
    }
    void TearDown() override {
        DBConnection::closeSharedDatabase();
        DBConnection::setResourcePath({});
        Preferences::standard().clear();
        AppConfig::setCurrent({});
    }

    qltest::TempDir dir;
    QLClassDAO dao;
};

QLLessonPlayData lessonRecord(int id, double time) {
    QLLessonPlayData r;
    r.currentPlayID = id;
    r.currentTime = time;
    return r;
}

}  // namespace

TEST_F(Database, FirstOpenCopiesTheResourceAndKeepsTheCopyAfterwards) {
    const fs::path copy = DBConnection::databasePath();
    ASSERT_FALSE(fs::exists(copy));
    ASSERT_NE(DBConnection::getSharedDatabase(), nullptr);
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_FALSE(dao.searchFirstCatetory().empty());
    EXPECT_EQ(DBConnection::getSharedDatabase(), DBConnection::getSharedDatabase());  // one handle

    // A healthy copy is opened as it is on the next start: the user's rows survive.
    ASSERT_TRUE(dao.addDownloadVieo("u1", "v1", "5", "0", "第一讲", "10001"));
    DBConnection::closeSharedDatabase();
    EXPECT_EQ(dao.searchDownloadVieobyuid("u1", "v1").size(), 1u);

    // Without the resource and without a copy there is no database, and no empty one is made up.
    DBConnection::closeSharedDatabase();
    fs::remove(copy);
    DBConnection::setResourcePath(dir.path() / "nowhere");
    EXPECT_EQ(DBConnection::getSharedDatabase(), nullptr);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(dao.searchFirstCatetory().empty());
    EXPECT_FALSE(dao.addDownloadVieo("u1", "v1", "5", "0", "第一讲", "10001"));
}

TEST_F(Database, BrokenCopyIsRenewedForTheNextCall) {
    const fs::path copy = DBConnection::databasePath();
    const fs::path wal = copy.string() + "-wal";
    struct Case {
        const char* name;
        std::string content;
    };
    // A sound SQLite file that is not ours: our database without its play and download tables.
    ASSERT_NE(DBConnection::getSharedDatabase(), nullptr);
    for (auto* sql : {"drop table QL", "drop table QLVideoDownload"}) {
        auto stmt = DBConnection::statementWithQuery(sql);
        ASSERT_EQ(stmt.step(), Statement::kDone);
    }
    DBConnection::closeSharedDatabase();  // the last connection folds the log into the file
    const std::string foreign = *readWholeFile(copy);
    for (const Case& c : {Case{"garbage", std::string(4096, 'x')}, Case{"empty file", ""},
                          Case{"another schema", foreign}}) {
        SCOPED_TRACE(c.name);
        DBConnection::closeSharedDatabase();
        ASSERT_TRUE(writeFileAtomically(copy, c.content));
        ASSERT_TRUE(writeFileAtomically(wal, std::string(8192, 'w')));  // a stale log must not survive either
        EXPECT_EQ(DBConnection::getSharedDatabase(), nullptr);
        EXPECT_FALSE(fs::exists(wal));
        ASSERT_NE(DBConnection::getSharedDatabase(), nullptr);
        EXPECT_FALSE(dao.searchFirstCatetory().empty());
        EXPECT_TRUE(dao.addDownloadVieo("u1", "v1", "5", "0", "第一讲", "10001"));
    }
}

TEST_F(Database, PlayRecordListsKeepOneRecordPerKeyNewestFirst) {
    auto& lessons = QLLessonDBDataSource::lessonDataSource();
    auto& courses = QLMyClassDBDataSource::lessonDataSource();
    lessons.clearLessonItems();  // one list per process: start this database from a clean state
    courses.clearLessonItems();

    ASSERT_TRUE(lessons.addVideo(lessonRecord(7, 10.0)));
    ASSERT_TRUE(lessons.addVideo(lessonRecord(8, 5.0)));
    ASSERT_TRUE(lessons.addVideo(lessonRecord(7, 20.0)));
    ASSERT_EQ(lessons.lessonItems().size(), 2u);
    EXPECT_EQ(lessons.lessonItems()[0].currentPlayID, 7);
    EXPECT_EQ(lessons.lessonItems()[0].currentTime, 20.0);
    EXPECT_TRUE(lessons.lessonItems()[0].isLocal);
    EXPECT_EQ(lessons.lessonItems()[1].currentPlayID, 8);
    EXPECT_TRUE(lessons.containsVideo(lessonRecord(8, 0)));
    EXPECT_EQ(lessons.lessonWithVideoId(7)->currentTime, 20.0);

    auto rows = dao.videosWithCatetory(1);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& r : rows) {
        EXPECT_EQ(r.category, 1);
        if (r.currentPlayID == 7) {
            EXPECT_EQ(r.currentTime, 20.0);
        }
    }

    // Per-course records are keyed by course; the same lesson id in category 2 is another row.
    QLLessonPlayData course = lessonRecord(7, 0);
    course.classId = 42;
    course.classLessonId = 901;
    course.classLessonTitle = "申论写作第三讲";
    course.classLastPlayTime = "2026/03/01 20:15:00:000";
    ASSERT_TRUE(courses.addVideo(course));
    course.classLessonId = 902;
    ASSERT_TRUE(courses.addVideo(course));
    ASSERT_EQ(courses.lessonItems().size(), 1u);
    EXPECT_EQ(courses.lessonWithClassId(42)->classLessonId, 902);
    auto stored = dao.videosWithCatetory(2);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].classLessonTitle, "申论写作第三讲");
    EXPECT_EQ(stored[0].classLastPlayTime, "2026/03/01 20:15:00:000");
    EXPECT_EQ(dao.videosWithCatetory(1).size(), 2u);

    ASSERT_TRUE(lessons.removeVideo(lessonRecord(8, 0)));
    EXPECT_FALSE(lessons.containsVideo(lessonRecord(8, 0)));
    EXPECT_EQ(dao.videosWithCatetory(1).size(), 1u);

    // A write that fails leaves the list as it was.
    DBConnection::closeSharedDatabase();
    fs::remove(DBConnection::databasePath());
    DBConnection::setResourcePath(dir.path() / "nowhere");
    EXPECT_FALSE(lessons.addVideo(lessonRecord(9, 1.0)));
    EXPECT_FALSE(lessons.removeAll());
    EXPECT_EQ(lessons.lessonItems().size(), 1u);

    DBConnection::setResourcePath({});
    lessons.clearLessonItems();
    courses.clearLessonItems();
    EXPECT_TRUE(lessons.lessonItems().empty());
    EXPECT_TRUE(courses.lessonItems().empty());
    EXPECT_TRUE(dao.videosWithCatetory(1).empty());
}

TEST_F(Database, DownloadRowsOncePerUserAndVideo) {
    ASSERT_TRUE(dao.addDownloadVieo("uidA", "vidX", "5", "0", "行测第一讲", "10002"));
    EXPECT_FALSE(dao.addDownloadVieo("uidA", "vidX", "5", "1", "again", "10002"));  // already queued
    ASSERT_TRUE(dao.addDownloadVieo("uidA", "vidX", "6", "0", "行测第一讲", "10002"));
    ASSERT_TRUE(dao.addDownloadVieo("uidA", "vidY", "5", "0", "行测第二讲", "10002"));

    EXPECT_EQ(dao.searchDownloadVieobyuid("uidA", "vidX").size(), 2u);
    EXPECT_TRUE(dao.searchDownloadVieobyuid("uidB", "vidX").empty());

    EXPECT_TRUE(dao.searchDownloadVieo().empty());  // nobody logged in
    Preferences::standard().setObject("True_userid", 5);
    auto mine = dao.searchDownloadVieo();
    ASSERT_EQ(mine.size(), 2u);
    EXPECT_EQ(mine[0], (QLVideoDownloadData{"5", "vidX", "uidA", "行测第一讲", "0", "0", "0", "10002"}));

    ASSERT_TRUE(dao.delDownloadVieo("ignored", "vidX", "5"));
    ASSERT_EQ(dao.searchDownloadVieobyuid("uidA", "vidX").size(), 1u);
    EXPECT_EQ(dao.searchDownloadVieobyuid("uidA", "vidX")[0].userId, "6");
}

TEST_F(Database, UpdateFindsRowsByVideoAndTakesValuesLiterally) {
    const std::string quoted = "it's";
    const std::string injection = "x' OR '1'='1";
    for (const auto& [vid, user] : std::vector<std::pair<std::string, std::string>>{
             {"vidX", "6"}, {"vidY", "5"}, {quoted, "5"}, {injection, "5"}}) {
        ASSERT_TRUE(dao.addDownloadVieo("uidA", vid, user, "0", "第" + vid + "讲", "10002"));
    }
    auto row = [&](const std::string& vid) { return dao.searchDownloadVieobyuid("uidA", vid).at(0); };
    const QLVideoDownloadData untouched = row("vidY");

    // The row of another user is taken over by the user who updates it.
    ASSERT_TRUE(dao.updateDownloadVieo("ignored", "vidX", "5", "2", "12.50", "12.50"));
    EXPECT_EQ(row("vidX"), (QLVideoDownloadData{"5", "vidX", "uidA", "第vidX讲", "2", "12.50", "12.50", "10002"}));

    ASSERT_TRUE(dao.updateDownloadVieo("uidA", quoted, "5", "1", "3.10", "9.99"));
    EXPECT_EQ(row(quoted).status, "1");
    ASSERT_TRUE(dao.updateDownloadVieo("uidA", injection, "5'--", "0", "1'); DROP TABLE QL; --", "9.99"));
    EXPECT_EQ(row(injection).userId, "5'--");
    EXPECT_EQ(row(injection).currentsize, "1'); DROP TABLE QL; --");
    EXPECT_EQ(row("vidY"), untouched);
    EXPECT_EQ(row("vidX").status, "2");
    EXPECT_EQ(row(quoted).currentsize, "3.10");

    // Two users' rows of one video cannot both take one user: the updating user's own row is
    // written, the other user's row stays as it was.
    ASSERT_TRUE(dao.addDownloadVieo("uidA", "vidZ", "5", "0", "z", "1"));
    ASSERT_TRUE(dao.addDownloadVieo("uidA", "vidZ", "6", "0", "z", "1"));
    EXPECT_TRUE(dao.updateDownloadVieo("uidA", "vidZ", "5", "2", "1.00", "1.00"));
    for (const auto& r : dao.searchDownloadVieobyuid("uidA", "vidZ")) EXPECT_EQ(r.status, r.userId == "5" ? "2" : "0");
}

TEST_F(Database, CatalogueTablesAreComplete) {
    auto categories = dao.searchFirstCatetory();
    ASSERT_GE(categories.size(), 5u);
    std::set<std::string> tables, ids;
    for (const auto& c : categories) {
        SCOPED_TRACE(c.fullName);
        EXPECT_EQ(c.nextTable.size(), 15u);  // the tag of the level-2 panel is cut at fixed positions
        EXPECT_FALSE(c.C_or_P_id.empty());
        tables.insert(c.nextTable);
        ids.insert(c.C_or_P_id);
        auto regions = dao.searchSecondCatetory(c.nextTable);
        EXPECT_FALSE(regions.empty());
        std::set<std::string> regionIds;
        for (const auto& r : regions) {
            EXPECT_FALSE(r.fullName.empty());
            EXPECT_TRUE(regionIds.insert(r.C_or_P_id).second) << r.C_or_P_id;
        }
    }
    EXPECT_EQ(tables.size(), categories.size());
    EXPECT_EQ(ids.size(), categories.size());
    EXPECT_EQ(categories[0].fullName, "国考");

    EXPECT_TRUE(dao.searchSecondCatetory("QLCourseCate_99").empty());
    EXPECT_TRUE(dao.searchSecondCatetory("QLCourseCate_01; delete from QLCourseCategory").empty());
    EXPECT_TRUE(dao.searchSecondCatetory("").empty());
    EXPECT_EQ(dao.searchFirstCatetory().size(), categories.size());
}

TEST_F(Database, TransactionRollsBackUnlessCommitted) {
    auto* db = DBConnection::getSharedDatabase();
    ASSERT_NE(db, nullptr);
    {
        Transaction t(db);
        ASSERT_TRUE(t.isActive());
        ASSERT_TRUE(dao.addDownloadVieo("u", "gone", "5", "0", "t", "1"));
    }
    EXPECT_TRUE(dao.searchDownloadVieobyuid("u", "gone").empty());
    {
        Transaction t(db);
        ASSERT_TRUE(dao.addDownloadVieo("u", "kept", "5", "0", "t", "1"));
        ASSERT_TRUE(t.commit());
    }
    EXPECT_EQ(dao.searchDownloadVieobyuid("u", "kept").size(), 1u);
}
