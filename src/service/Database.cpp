#include "Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

namespace qlsvc {

namespace fs = std::filesystem;

namespace {

struct StmtFree {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFree>;

StmtPtr prepare(sqlite3* db, const std::string& sql, const std::vector<SqlArg>& args) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) return nullptr;
    StmtPtr stmt(raw);
    for (size_t i = 0; i < args.size(); ++i) {
        int index = static_cast<int>(i) + 1;
        if (const auto* n = std::get_if<std::int64_t>(&args[i])) {
            sqlite3_bind_int64(raw, index, *n);
        } else {
            const auto& s = std::get<std::string>(args[i]);
            sqlite3_bind_text(raw, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
    }
    return stmt;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The seed files and a fingerprint of their contents, so that changed resources rebuild the data.
struct Seed {
    std::vector<std::pair<fs::path, std::string>> files;
    std::string fingerprint;
};

Seed loadSeed(const fs::path& dir) {
    Seed seed;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (entry.path().extension() == ".sql") seed.files.emplace_back(entry.path(), std::string());
    }
    std::sort(seed.files.begin(), seed.files.end());
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a over names and contents
    for (auto& [path, text] : seed.files) {
        text = readFile(path);
        for (unsigned char c : path.filename().string() + '\0' + text) h = (h ^ c) * 1099511628211ull;
    }
    seed.fingerprint = std::to_string(h);
    return seed;
}

bool exec(sqlite3* db, const std::string& sql, std::string* error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    if (error) *error = message ? message : "sqlite error";
    sqlite3_free(message);
    return false;
}

bool buildDatabase(const fs::path& path, const Seed& seed, std::string* error) {
    fs::path temp = path;
    temp += ".building";
    fs::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open(temp.c_str(), &db) != SQLITE_OK) {
        *error = "cannot create " + temp.string();
        sqlite3_close(db);
        return false;
    }
    bool ok = exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;", error);
    for (const auto& [file, text] : seed.files) {
        if (!ok) break;
        if (!exec(db, text, error)) {
            *error = file.filename().string() + ": " + *error;
            ok = false;
        }
    }
    ok = ok && exec(db, "CREATE TABLE IF NOT EXISTS seed_info(fingerprint TEXT); DELETE FROM seed_info;", error);
    ok = ok && exec(db, "INSERT INTO seed_info VALUES('" + seed.fingerprint + "'); COMMIT;", error);
    sqlite3_close(db);
    if (!ok) {
        fs::remove(temp);
        return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) *error = "cannot move the seeded database into place: " + ec.message();
    return !ec;
}

}  // namespace

Database::~Database() { sqlite3_close(db_); }

std::unique_ptr<Database> Database::open(const fs::path& dir, const fs::path& resourcesDir, std::string* error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    Seed seed = loadSeed(resourcesDir);
    if (seed.files.empty()) {
        *error = "no seed files (*.sql) in " + resourcesDir.string();
        return nullptr;
    }
    fs::path path = dir / "service.sqlite";
    bool fresh = !fs::exists(path);
    if (!fresh) {
        sqlite3* probe = nullptr;
        std::string stored;
        if (sqlite3_open_v2(path.c_str(), &probe, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            if (auto stmt = prepare(probe, "SELECT fingerprint FROM seed_info", {}); stmt && sqlite3_step(stmt.get()) == SQLITE_ROW)
                stored = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
        }
        sqlite3_close(probe);
        fresh = stored != seed.fingerprint;
    }
    if (fresh && !buildDatabase(path, seed, error)) return nullptr;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        *error = "cannot open " + path.string();
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);
    exec(db, "PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON;", nullptr);
    return std::unique_ptr<Database>(new Database(db));
}

nlohmann::json Database::query(const std::string& sql, const std::vector<SqlArg>& args, bool keepNumbers) {
    std::lock_guard lock(mutex_);
    nlohmann::json rows = nlohmann::json::array();
    auto stmt = prepare(db_, sql, args);
    if (!stmt) return rows;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        nlohmann::json row = nlohmann::json::object();
        int n = sqlite3_column_count(stmt.get());
        for (int i = 0; i < n; ++i) {
            const char* name = sqlite3_column_name(stmt.get(), i);
            switch (sqlite3_column_type(stmt.get(), i)) {
            case SQLITE_NULL: row[name] = nullptr; break;
            case SQLITE_INTEGER:
                if (keepNumbers) row[name] = sqlite3_column_int64(stmt.get(), i);
                else row[name] = std::to_string(sqlite3_column_int64(stmt.get(), i));
                break;
            case SQLITE_FLOAT:
                if (keepNumbers) row[name] = sqlite3_column_double(stmt.get(), i);
                else row[name] = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), i));
                break;
            default: row[name] = std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), i)),
                                             static_cast<size_t>(sqlite3_column_bytes(stmt.get(), i)));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<nlohmann::json> Database::queryOne(const std::string& sql, const std::vector<SqlArg>& args,
                                                 bool keepNumbers) {
    auto rows = query(sql, args, keepNumbers);
    if (rows.empty()) return std::nullopt;
    return rows[0];
}

int Database::execute(const std::string& sql, const std::vector<SqlArg>& args) {
    std::lock_guard lock(mutex_);
    auto stmt = prepare(db_, sql, args);
    if (!stmt) return -1;
    int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) return -1;
    return sqlite3_changes(db_);
}

std::int64_t Database::lastInsertId() {
    std::lock_guard lock(mutex_);
    return sqlite3_last_insert_rowid(db_);
}

}  // namespace qlsvc
