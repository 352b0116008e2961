#include "platform/Preferences.h"

#include "platform/FileUtil.h"

#include <chrono>
#include <cstdlib>
#include <iostream>

namespace ql {

Preferences& Preferences::standard() {
    static Preferences prefs;
    return prefs;
}

void Preferences::open(std::filesystem::path file) {
    std::lock_guard lock(mutex_);
    file_ = std::move(file);
    values_ = nlohmann::json::object();
    dirty_ = false;
    auto text = readWholeFile(file_);
    if (!text) return;
    auto parsed = nlohmann::json::parse(*text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_object()) {
        values_ = std::move(parsed);
        return;
    }
    // Never silently lose what was there: keep the unreadable file for inspection.
    auto stamp = std::chrono::duration_cast<std::chrono::seconds>(
                     std::chrono::system_clock::now().time_since_epoch()).count();
    auto aside = file_;
    aside += ".corrupt-" + std::to_string(stamp);
    std::error_code ec;
    std::filesystem::rename(file_, aside, ec);
    std::cerr << "preferences: " << file_.string() << " is unreadable; kept it as " << aside.string()
              << " and started with empty preferences\n";
}

std::optional<Preferences::Value> Preferences::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return *it;
}

std::string Preferences::stringForKey(const std::string& key) const {
    auto v = objectForKey(key);
    if (!v) return {};
    if (v->is_string()) return v->get<std::string>();
    if (v->is_number() || v->is_boolean()) return v->dump();
    return {};
}

long long Preferences::integerForKey(const std::string& key) const {
    auto v = objectForKey(key);
    if (!v) return 0;
    if (v->is_number_integer()) return v->get<long long>();
    if (v->is_number_float()) return static_cast<long long>(v->get<double>());
    if (v->is_boolean()) return v->get<bool>() ? 1 : 0;
    if (v->is_string()) return std::strtoll(v->get_ref<const std::string&>().c_str(), nullptr, 10);
    return 0;
}

void Preferences::setObject(const std::string& key, Value value) {
    if (value.is_null() || value.is_discarded()) {
        removeObject(key);
        return;
    }
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    if (it != values_.end() && *it == value) return;  // unchanged: nothing to write
    values_[key] = std::move(value);
    dirty_ = true;
}

void Preferences::removeObject(const std::string& key) {
    std::lock_guard lock(mutex_);
    dirty_ |= values_.erase(key) > 0;
}

void Preferences::clear() {
    std::lock_guard lock(mutex_);
    values_ = nlohmann::json::object();
    dirty_ = true;
}

bool Preferences::synchronize() {
    std::lock_guard lock(mutex_);
    if (!dirty_) return true;
    if (!writeLocked()) return false;
    dirty_ = false;
    return true;
}

bool Preferences::writeLocked() const {
    if (file_.empty()) return true;  // an in-memory store (never opened)
    return writeFileAtomically(file_, values_.dump(2), 0600);
}

}  // namespace ql
