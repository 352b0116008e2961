#pragma once
// The service's own SQLite database: one connection shared by the request threads under a mutex,
// created and seeded from the SQL files of the resources folder on first start.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;

namespace qlsvc {

using SqlArg = std::variant<std::int64_t, std::string>;

class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens DIR/service.sqlite. A missing database, or one seeded from other resource files, is
    // (re)built from every *.sql file of `resourcesDir` in name order, in one transaction.
    static std::unique_ptr<Database> open(const std::filesystem::path& dir, const std::filesystem::path& resourcesDir,
                                          std::string* error);

    // Rows as JSON objects keyed by column name. Integers and reals become text unless
    // `keepNumbers` (answers of the school's service carry their values as text), NULL stays null.
    nlohmann::json query(const std::string& sql, const std::vector<SqlArg>& args = {}, bool keepNumbers = false);
    // One row or nothing.
    std::optional<nlohmann::json> queryOne(const std::string& sql, const std::vector<SqlArg>& args = {},
                                           bool keepNumbers = false);
    // Runs a statement; returns the number of changed rows, or -1 on an error.
    int execute(const std::string& sql, const std::vector<SqlArg>& args = {});
    std::int64_t lastInsertId();

    // Serialises compound work (a read followed by a write) across request threads.
    std::recursive_mutex& mutex() { return mutex_; }

private:
    explicit Database(sqlite3* db) : db_(db) {}
    sqlite3* db_;
    std::recursive_mutex mutex_;
};

}  // namespace qlsvc
