#pragma once
// Local date texts in the user's locale (LC_ALL / LC_TIME / LANG).

#include <string>

namespace ql::DateFormat {

// Medium date style and short time style, e.g. "2026年12月11日 13:45" for a Chinese locale and
// "Dec 11, 2026, 1:45 PM" otherwise. The pattern is chosen once, on first use.
std::string mediumDateShortTime(long long secondsSince1970);

// strftime of the local time with the given pattern.
std::string formatLocal(long long secondsSince1970, const char* pattern);

}  // namespace ql::DateFormat
