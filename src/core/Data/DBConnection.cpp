#include "Data/DBConnection.h"

#include "platform/FileUtil.h"
#include "platform/Resources.h"
#include "platform/SandboxPaths.h"

#include <sqlite3.h>

#include <cstdlib>
#include <mutex>

#ifndef QINGLAN_BUILD_RESOURCES_DIR
#define QINGLAN_BUILD_RESOURCES_DIR "resources"
#endif

namespace ql {

namespace fs = std::filesystem;

namespace {

std::recursive_mutex g_mutex;
sqlite3* g_shared = nullptr;
// Whether the last failed open found a file that is not a usable database (and may be renewed),
// as opposed to a passing condition such as a lock held by another process.
bool g_lastOpenFoundBrokenFile = false;

bool exec(sqlite3* db, const char* sql, int* code) {
    *code = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return *code == SQLITE_OK;
}

int countRequiredTables(sqlite3* db, int* code) {
    sqlite3_stmt* stmt = nullptr;
    *code = sqlite3_prepare_v2(db,
                               "select count(*) from sqlite_master where type='table' and name in "
                               "('QL','QLVideoDownload','QLCourseCategory')",
                               -1, &stmt, nullptr);
    int count = 0;
    if (*code == SQLITE_OK) {
        *code = sqlite3_step(stmt);
        if (*code == SQLITE_ROW) {
            count = sqlite3_column_int(stmt, 0);
            *code = SQLITE_OK;
        }
    }
    sqlite3_finalize(stmt);
    return count;
}

// Settings of every connection.
//
// Write-ahead logging: a write is one append to the log, readers never block the writer, and a
// process killed at any point leaves the database consistent with every returned write in it.
// synchronous=NORMAL: in WAL mode this syncs at checkpoints, not at each commit. A write that has
// returned survives a crash of the process (the appended log is in the system's file cache); only a
// power cut can lose the last few writes, never corrupt the file. The writes here are download
// progress and play positions made on the UI thread, which must not wait for the flash on each
// one; losing the last of them to a power cut costs a lesson resuming a little early.
bool configure(sqlite3* db, int* code) {
    sqlite3_busy_timeout(db, 2000);
    return exec(db, "PRAGMA journal_mode=WAL", code) && exec(db, "PRAGMA synchronous=NORMAL", code);
}

bool isBrokenFileCode(int code) {
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN:
    case SQLITE_ERROR:  // opened, but not our schema
        return true;
    default:
        return false;
    }
}

// Copied whole or not at all, so a crash during the copy leaves no half database behind.
void copyResourceTo(const fs::path& path) {
    if (auto data = readWholeFile(DBConnection::resourcePath() / DBConnection::kDatabaseName))
        writeFileAtomically(path, *data, 0600);
}

void closeSharedLocked() {
    if (g_shared) sqlite3_close_v2(g_shared);
    g_shared = nullptr;
}

}  // namespace

fs::path DBConnection::databasePath() { return paths::documents() / kDatabaseName; }

void DBConnection::setResourcePath(fs::path folder) { Resources::setFolder(std::move(folder)); }

fs::path DBConnection::resourcePath() { return Resources::folder(); }

sqlite3* DBConnection::getSharedDatabase() {
    std::lock_guard lock(g_mutex);
    if (g_shared) return g_shared;
    g_shared = openDatabase(kDatabaseName);
    if (!g_shared && g_lastOpenFoundBrokenFile) createEditableCopyOfDatabaseIfNeeded(true);
    return g_shared;
}

sqlite3* DBConnection::openDatabase(const std::string& fileName) {
    std::lock_guard lock(g_mutex);
    const fs::path path = paths::documents() / fileName;
    std::error_code ec;
    if (!fs::exists(path, ec)) copyResourceTo(path);

    // No SQLITE_OPEN_CREATE: a missing copy must fail here, not become an empty database.
    sqlite3* db = nullptr;
    int code = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (code == SQLITE_OK && configure(db, &code)) {
        // Opening is lazy: only reading the schema shows a file that is not a database, or not ours.
        if (countRequiredTables(db, &code) == 3) {
            g_lastOpenFoundBrokenFile = false;
            return db;
        }
        if (code == SQLITE_OK) code = SQLITE_ERROR;
    }
    g_lastOpenFoundBrokenFile = isBrokenFileCode(code);
    sqlite3_close_v2(db);
    return nullptr;
}

void DBConnection::createEditableCopyOfDatabaseIfNeeded(bool force) {
    std::lock_guard lock(g_mutex);
    const fs::path path = databasePath();
    std::error_code ec;
    if (force) {
        closeSharedLocked();  // never delete the file under an open connection
        // The log and index of the old file would be replayed into the new one: remove them too.
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(fs::path(path.string() + suffix), ec);
    }
    if (!fs::exists(path, ec)) copyResourceTo(path);
}

Statement DBConnection::statementWithQuery(const std::string& sql) {
    std::lock_guard lock(g_mutex);
    if (!g_shared) return Statement();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(g_shared, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return Statement();
    }
    return Statement(stmt);
}

void DBConnection::closeSharedDatabase() {
    std::lock_guard lock(g_mutex);
    closeSharedLocked();
}

}  // namespace ql
