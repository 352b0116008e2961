#include "Data/Transaction.h"

#include <sqlite3.h>

namespace ql {

Transaction::Transaction(sqlite3* db) : db_(db) {
    active_ = db_ && sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
}

Transaction::~Transaction() {
    if (active_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Transaction::commit() {
    if (!active_) return false;
    bool ok = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    active_ = false;
    return ok;
}

}  // namespace ql
