#pragma once
// The per-user preferences store: text keys to property-list values (text, integer, real,
// boolean, list, dictionary), kept in one JSON file written atomically with mode 0600.

#include <nlohmann/json.hpp>

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace ql {

class Preferences {
public:
    using Value = nlohmann::json;

    // The store of the running app, backed by Documents/preferences.json once opened.
    static Preferences& standard();

    Preferences() = default;
    explicit Preferences(std::filesystem::path file) { open(std::move(file)); }

    // Loads the file (a missing file is an empty store). A corrupt file is moved aside as
    // "<name>.corrupt-<time>" and the store starts empty, with a message on stderr.
    void open(std::filesystem::path file);
    const std::filesystem::path& file() const { return file_; }

    std::optional<Value> objectForKey(const std::string& key) const;
    bool contains(const std::string& key) const { return objectForKey(key).has_value(); }
    // Text of the value: a string as it is, a number in decimal, anything else "".
    std::string stringForKey(const std::string& key) const;
    // Integer value: a number, or a text that starts with an integer; otherwise 0.
    long long integerForKey(const std::string& key) const;

    // A null value removes the key: the store keeps no null.
    void setObject(const std::string& key, Value value);
    void removeObject(const std::string& key);
    void clear();

    // Writes the file now (temp file, fsync, rename). Returns false when the write failed.
    bool synchronize();

private:
    bool writeLocked() const;

    mutable std::mutex mutex_;
    std::filesystem::path file_;
    nlohmann::json values_ = nlohmann::json::object();
    bool dirty_ = false;
};

}  // namespace ql
