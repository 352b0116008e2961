#pragma once
// The two column files in Documents: "plst_test.plist" (the subscribed news columns, in tab order,
// starting with 头条) and "plst_test2.plist" (the others). Each is a property-list array of texts.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ql::ColumnFiles {

inline constexpr const char* kSubscribed = "plst_test.plist";
inline constexpr const char* kOthers = "plst_test2.plist";

// When either file is missing from Documents, both are copied from the shipped defaults, so the
// pair is always replaced together.
void ensure();
std::vector<std::string> read(const char* name);
// Writes the file whole (atomically); false when it could not be written.
bool write(const char* name, const std::vector<std::string>& columns);

// The property-list array format.
std::optional<std::vector<std::string>> parse(const std::string& plist);
std::string format(const std::vector<std::string>& items);

}  // namespace ql::ColumnFiles
