#include "ToolCommands.h"

#include "platform/AppConfig.h"

#include <iostream>

namespace qltool {

bool wantsHelp(const Args& args, const char* usage) {
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return true;
        }
    }
    return false;
}

bool useConfiguration(const std::string& explicitPath) {
    std::string error;
    auto config = ql::AppConfig::loadDefault(explicitPath, &error);
    if (!config) {
        std::cerr << "qinglan-tool: " << error << "\n";
        return false;
    }
    ql::AppConfig::setCurrent(*config);
    return true;
}

int badArguments(const std::string& message, const char* usage) {
    std::cerr << "qinglan-tool: " << message << "\n" << usage;
    return 2;
}

}  // namespace qltool
