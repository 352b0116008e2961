// Builds a SQLite database from SQL text at build time, so that the repository holds reviewable SQL
// and never the binary file.
//
//   make_database OUTPUT [--check CHECKS.sql] SCRIPT.sql...
//
// Runs the scripts in the order given, in one transaction, then every query of CHECKS.sql: a query
// that returns a row fails the build with that row as the message. The output is written under a
// temporary name and renamed into place only when everything succeeded.

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    *ok = static_cast<bool>(in) || in.eof();
    return text.str();
}

bool exec(sqlite3* db, const std::string& sql, const std::string& what) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    std::cerr << what << ": " << (message ? message : "error") << "\n";
    sqlite3_free(message);
    return false;
}

// Every statement of the text must return no row.
bool check(sqlite3* db, const std::string& sql, const std::string& what) {
    const char* rest = sql.c_str();
    bool clean = true;
    while (rest && *rest) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, rest, -1, &stmt, &rest) != SQLITE_OK) {
            std::cerr << what << ": " << sqlite3_errmsg(db) << "\n";
            return false;
        }
        if (!stmt) continue;  // blanks or comments at the end
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            std::cerr << what << ": " << (text ? reinterpret_cast<const char*>(text) : "check failed") << "\n";
            clean = false;
        }
        sqlite3_finalize(stmt);
    }
    return clean;
}

bool build(const std::string& path, const std::vector<std::string>& scripts, const std::vector<std::string>& checks) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        std::cerr << path << ": " << sqlite3_errmsg(db) << "\n";
        sqlite3_close(db);
        return false;
    }
    bool ok = exec(db, "BEGIN", path);
    for (const auto& script : scripts) {
        bool read = false;
        std::string sql = readFile(script, &read);
        ok = ok && read && exec(db, sql, script);
    }
    ok = ok && exec(db, "COMMIT", path);
    for (const auto& file : checks) {
        bool read = false;
        std::string sql = readFile(file, &read);
        ok = ok && read && check(db, sql, file);
    }
    return sqlite3_close(db) == SQLITE_OK && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_database OUTPUT [--check CHECKS.sql] SCRIPT.sql...\n";
        return 2;
    }
    std::string output = argv[1];
    std::vector<std::string> scripts, checks;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--check" && i + 1 < argc) checks.push_back(argv[++i]);
        else scripts.push_back(arg);
    }
    std::string temp = output + ".building";
    std::filesystem::remove(temp);
    if (!build(temp, scripts, checks)) {
        std::filesystem::remove(temp);
        return 1;
    }
    std::error_code ec;
    std::filesystem::rename(temp, output, ec);
    if (ec) {
        std::cerr << output << ": " << ec.message() << "\n";
        return 1;
    }
    return 0;
}
