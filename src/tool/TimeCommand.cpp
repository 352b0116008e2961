#include "ToolCommands.h"

#include "HTTP/Records.h"
#include "protocol/UTools.h"

#include <iostream>

namespace qltool {

int time(const Args& args) {
    static constexpr const char* usage =
        "usage: qinglan-tool time now | minute | since DATE | pub SECONDS\n"
        "  now          the current time as yyyy/MM/dd HH:mm:ss:SSS\n"
        "  minute       the minute of the hour\n"
        "  since DATE   the relative study time of DATE (yyyy/MM/dd HH:mm:ss:SSS)\n"
        "  pub SECONDS  the list and article time texts of a publication time (seconds since 1970)\n";
    if (wantsHelp(args, usage)) return 0;
    if (args.empty()) return badArguments("a time command is missing", usage);
    const std::string& what = args[0];
    if (what == "now" && args.size() == 1) {
        std::cout << ql::UTools::getNowDate() << "\n";
    } else if (what == "minute" && args.size() == 1) {
        std::cout << ql::UTools::getDate() << "\n";
    } else if (what == "since" && args.size() == 2) {
        std::cout << ql::UTools::intervalSinceNow(args[1]) << "\n";
    } else if (what == "pub" && args.size() == 2) {
        if (args[1].find_first_not_of("0123456789") != std::string::npos || args[1].empty())
            return badArguments("SECONDS is a whole number", usage);
        ql::QLFirstview item;
        item.classTimeLength = args[1];
        std::cout << item.timestamp() << "\n" << item.timeAbsu() << "\n";
    } else {
        return badArguments("unknown or incomplete time command", usage);
    }
    return 0;
}

}  // namespace qltool
