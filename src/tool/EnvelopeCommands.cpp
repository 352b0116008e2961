#include "ToolCommands.h"

#include "protocol/Envelope.h"

#include <iostream>
#include <iterator>

namespace qltool {

int seal(const Args& args) {
    static constexpr const char* usage =
        "usage: qinglan-tool seal [--raw] TEXT\n"
        "  Prints the p value of the parameter string TEXT: escaped, then enciphered.\n"
        "  --raw  enciphered, then escaped (the login and registration order)\n";
    if (wantsHelp(args, usage)) return 0;
    bool raw = false;
    const std::string* text = nullptr;
    for (const auto& a : args) {
        if (a == "--raw") raw = true;
        else if (!a.empty() && a[0] == '-' && a != "-") return badArguments("unknown option " + a, usage);
        else if (text) return badArguments("one TEXT only", usage);
        else text = &a;
    }
    if (!text) return badArguments("TEXT is missing", usage);
    std::cout << (raw ? ql::Envelope::sealRaw(*text) : ql::Envelope::seal(*text)) << "\n";
    return 0;
}

int open(const Args& args) {
    static constexpr const char* usage =
        "usage: qinglan-tool open [BODY]\n"
        "  Opens an answer body (BODY, or standard input) and prints its JSON text.\n"
        "  Exit status 1 when it is not an answer.\n";
    if (wantsHelp(args, usage)) return 0;
    if (args.size() > 1) return badArguments("one BODY only", usage);
    std::string body;
    if (args.empty()) {
        body.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        body = args[0];
    }
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r' || body.back() == ' ')) body.pop_back();
    bool utf8 = false;
    auto text = ql::Envelope::open(body, &utf8);
    if (!utf8) {
        std::cerr << "qinglan-tool: the body is not UTF-8 text\n";
        return 1;
    }
    if (!text) {
        std::cerr << "qinglan-tool: the answer deciphers to text that is not UTF-8 or not valid GB18030 escapes\n";
        return 1;
    }
    if (text->empty()) {
        std::cerr << "qinglan-tool: the body is not an answer (not hexadecimal cipher text under the key)\n";
        return 1;
    }
    std::cout << *text << "\n";
    return 0;
}

}  // namespace qltool
