#include "Data/QLClassDAO.h"

#include "Data/DBConnection.h"
#include "platform/Preferences.h"

#include <algorithm>

namespace ql {

namespace {

Statement prepare(const std::string& sql) {
    DBConnection::getSharedDatabase();  // so that the handle is open before preparing
    return DBConnection::statementWithQuery(sql);
}

// Steps a write to its end; true when SQLite reports it done.
bool run(Statement& stmt) {
    bool done = stmt.step() == Statement::kDone;
    stmt.reset();
    return done;
}

template <typename Row, typename Read>
std::vector<Row> readAll(Statement& stmt, Read read) {
    std::vector<Row> rows;
    while (stmt.step() == Statement::kRow) rows.push_back(read(stmt));
    stmt.reset();
    return rows;
}

std::string text(const Statement& stmt, int column) { return stmt.getString(column).value_or(std::string()); }

QLVideoDownloadData readDownload(const Statement& s) {
    return {text(s, 0), text(s, 1), text(s, 2), text(s, 3), text(s, 4), text(s, 5), text(s, 6), text(s, 7)};
}

QLCourseCategoryData readCategory(const Statement& s) {
    return {s.getInt32(0), text(s, 1), text(s, 2), text(s, 3), text(s, 4)};
}

// The level-2 table name is pasted into the SQL text, so only a plain identifier is accepted.
bool isPlainTableName(const std::string& name) {
    auto plain = [](unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    return !name.empty() && std::all_of(name.begin(), name.end(), plain);
}

}  // namespace

std::vector<QLLessonPlayData> QLClassDAO::videosWithCatetory(std::int32_t category) {
    auto stmt = prepare("select currentPlayID,currentTime,classLastPlayTime,classId, classLessonId,classLessonTitle,"
                        "isPlayFinished from QL where category=? order by category");
    stmt.bindInt32(category, 1);
    return readAll<QLLessonPlayData>(stmt, [category](const Statement& s) {
        QLLessonPlayData r;
        r.currentPlayID = s.getInt32(0);
        r.currentTime = s.getDouble(1);
        r.classLastPlayTime = text(s, 2);
        r.classId = s.getInt32(3);
        r.classLessonId = s.getInt32(4);
        r.classLessonTitle = text(s, 5);
        r.isPlayFinished = s.getInt32(6);
        r.category = category;
        return r;
    });
}

bool QLClassDAO::saveVideo(QLLessonPlayData& record, std::int32_t category) {
    auto stmt = prepare("replace into QL (currentPlayID,currentTime,classLastPlayTime,category,classId, classLessonId,"
                        "classLessonTitle,isPlayFinished) values (?,?,?,?,?,?,?,?)");
    stmt.bindInt32(record.currentPlayID, 1);
    stmt.bindDouble(record.currentTime, 2);
    stmt.bindString(record.classLastPlayTime, 3);
    stmt.bindInt32(category, 4);
    stmt.bindInt32(record.classId, 5);
    stmt.bindInt32(record.classLessonId, 6);
    stmt.bindString(record.classLessonTitle, 7);
    stmt.bindInt32(record.isPlayFinished, 8);
    bool stored = run(stmt);
    if (stored) record.isLocal = true;
    return stored;
}

bool QLClassDAO::removeVideo(const QLLessonPlayData& record, std::int32_t category) {
    auto stmt = prepare("delete from QL where currentPlayID=? and category=?");
    stmt.bindInt32(record.currentPlayID, 1);
    stmt.bindInt32(category, 2);
    return run(stmt);
}

bool QLClassDAO::removeVideosWithCategory(std::int32_t category) {
    auto stmt = prepare("delete from QL where category=?");
    stmt.bindInt32(category, 1);
    return run(stmt);
}

std::vector<QLVideoDownloadData> QLClassDAO::searchDownloadVieo() {
    auto& prefs = Preferences::standard();
    if (!prefs.contains("True_userid")) return {};  // nobody logged in: no user's rows
    auto stmt = prepare("select * from QLVideoDownload where userid=?");
    stmt.bindString(prefs.stringForKey("True_userid"), 1);
    return readAll<QLVideoDownloadData>(stmt, readDownload);
}

std::vector<QLVideoDownloadData> QLClassDAO::searchDownloadVieobyuid(const std::string& uid, const std::string& vid) {
    auto stmt = prepare("select * from QLVideoDownload where  uid=? and  vid=?");
    stmt.bindString(uid, 1);
    stmt.bindString(vid, 2);
    return readAll<QLVideoDownloadData>(stmt, readDownload);
}

bool QLClassDAO::addDownloadVieo(const std::string& uid, const std::string& vid, const std::string& userid,
                                 const std::string& status, const std::string& title, const std::string& classid) {
    auto stmt = prepare("INSERT INTO QLVideoDownload  VALUES  (?,?,?,?,?,0,0,?)");
    stmt.bindString(userid, 1);
    stmt.bindString(vid, 2);
    stmt.bindString(uid, 3);
    stmt.bindString(title, 4);
    stmt.bindString(status, 5);
    stmt.bindString(classid, 6);
    return run(stmt);
}

bool QLClassDAO::updateDownloadVieo(const std::string& /*uid*/, const std::string& vid, const std::string& userid,
                                    const std::string& status, const std::string& currentsize,
                                    const std::string& filetotalsize) {
    // The values are bound, never pasted into the text: a quote in an id must not rewrite other rows.
    auto byVideo = prepare("update  QLVideoDownload set userid=?,  status =? ,  currentsize =?,  filetotalsize =? "
                           "where   vid=?");
    byVideo.bindString(userid, 1);
    byVideo.bindString(status, 2);
    byVideo.bindString(currentsize, 3);
    byVideo.bindString(filetotalsize, 4);
    byVideo.bindString(vid, 5);
    if (run(byVideo)) return true;
    // Rows of several users for one video cannot all take one user (the table refuses two rows
    // of a user for a video), which would lose this user's progress: write the user's own row.
    auto own = prepare("update  QLVideoDownload set  status =? ,  currentsize =?,  filetotalsize =? "
                       "where   vid=? and userid=?");
    own.bindString(status, 1);
    own.bindString(currentsize, 2);
    own.bindString(filetotalsize, 3);
    own.bindString(vid, 4);
    own.bindString(userid, 5);
    return run(own);
}

bool QLClassDAO::delDownloadVieo(const std::string& /*uid*/, const std::string& vid, const std::string& userid) {
    auto stmt = prepare("delete from QLVideoDownload  where   vid=? and userid=?");
    stmt.bindString(vid, 1);
    stmt.bindString(userid, 2);
    return run(stmt);
}

std::vector<QLCourseCategoryData> QLClassDAO::searchFirstCatetory() {
    auto stmt = prepare("select * from QLCourseCategory");
    return readAll<QLCourseCategoryData>(stmt, readCategory);
}

std::vector<QLCourseCategoryData> QLClassDAO::searchSecondCatetory(const std::string& tableName) {
    if (!isPlainTableName(tableName)) return {};
    auto stmt = prepare("select * from " + tableName);
    return readAll<QLCourseCategoryData>(stmt, readCategory);
}

}  // namespace ql
