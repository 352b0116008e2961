#include "Data/Statement.h"

#include <sqlite3.h>

namespace ql {

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

int Statement::step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE; }
int Statement::reset() { return stmt_ ? sqlite3_reset(stmt_) : SQLITE_MISUSE; }

std::optional<std::string> Statement::getString(int column) const {
    if (!stmt_ || sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::nullopt;
    const auto* text = sqlite3_column_text(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
}

std::int32_t Statement::getInt32(int column) const { return stmt_ ? sqlite3_column_int(stmt_, column) : 0; }
std::int64_t Statement::getInt64(int column) const { return stmt_ ? sqlite3_column_int64(stmt_, column) : 0; }
double Statement::getDouble(int column) const { return stmt_ ? sqlite3_column_double(stmt_, column) : 0.0; }

std::string Statement::getData(int column) const {
    if (!stmt_) return {};
    const void* blob = sqlite3_column_blob(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return blob ? std::string(static_cast<const char*>(blob), static_cast<size_t>(size)) : std::string();
}

int Statement::bindString(std::string_view value, int index) {
    if (!stmt_) return SQLITE_MISUSE;
    // An empty view may carry no pointer, which SQLite would bind as NULL: an empty text is still a text.
    const char* data = value.data() ? value.data() : "";
    return sqlite3_bind_text64(stmt_, index, data, value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

int Statement::bindInt32(std::int32_t value, int index) {
    return stmt_ ? sqlite3_bind_int(stmt_, index, value) : SQLITE_MISUSE;
}

int Statement::bindInt64(std::int64_t value, int index) {
    return stmt_ ? sqlite3_bind_int64(stmt_, index, value) : SQLITE_MISUSE;
}

int Statement::bindDouble(double value, int index) {
    return stmt_ ? sqlite3_bind_double(stmt_, index, value) : SQLITE_MISUSE;
}

int Statement::bindData(std::string_view bytes, int index) {
    if (!stmt_) return SQLITE_MISUSE;
    if (bytes.empty()) return sqlite3_bind_zeroblob(stmt_, index, 0);
    return sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
}

}  // namespace ql
