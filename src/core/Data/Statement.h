#pragma once
// One prepared statement on the shared connection. It is finalised when the object goes away;
// a statement that failed to prepare steps to an error and reads as empty.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace ql {

class Statement {
public:
    // Result codes of step(), as SQLite gives them.
    static constexpr int kRow = 100;
    static constexpr int kDone = 101;

    Statement() = default;
    explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~Statement();
    Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isPrepared() const { return stmt_ != nullptr; }

    int step();
    int reset();

    // Getters by 0-based column index.
    std::optional<std::string> getString(int column) const;  // nothing for SQL NULL
    std::int32_t getInt32(int column) const;
    std::int64_t getInt64(int column) const;
    double getDouble(int column) const;
    std::string getData(int column) const;  // the bytes of a blob

    // Binders by 1-based index; SQLite keeps its own copy of texts and data.
    int bindString(std::string_view value, int index);
    int bindInt32(std::int32_t value, int index);
    int bindInt64(std::int64_t value, int index);
    int bindDouble(double value, int index);
    int bindData(std::string_view bytes, int index);

private:
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace ql
