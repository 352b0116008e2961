#pragma once
// The commands of qinglan-tool. Each returns the exit status: 0 done, 1 failed, 2 bad arguments.

#include <string>
#include <vector>

namespace qltool {

using Args = std::vector<std::string>;

int seal(const Args& args);
int open(const Args& args);
int call(const Args& args);
int time(const Args& args);
int download(const Args& args);

// True when args ask for help; prints `usage` then.
bool wantsHelp(const Args& args, const char* usage);
// Loads the client configuration (--config FILE, else $QINGLAN_CONFIG, else the defaults) and
// makes it the current one; prints why and returns false when it cannot be read.
bool useConfiguration(const std::string& explicitPath);
// Prints "qinglan-tool: <message>" and the usage on stderr; returns 2.
int badArguments(const std::string& message, const char* usage);

}  // namespace qltool
