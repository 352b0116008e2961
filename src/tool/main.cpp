// qinglan-tool: the client's core on the command line, for debugging the service, scripts and
// benchmarks. Each command is in a file of its own.

#include "ToolCommands.h"

#include <cstring>
#include <iostream>

namespace {

constexpr const char* kUsage = R"(usage: qinglan-tool COMMAND [ARGS]

commands:
  seal [--raw] TEXT        print the p value of a parameter string
  open [BODY]              print the JSON text of an answer body (BODY or standard input)
  call [OPTIONS] ENDPOINT PARAMS
                           send a request through the API client and print each callback
  time COMMAND             print the time texts of the client
  download [OPTIONS]       download a lesson file, resumably

'qinglan-tool COMMAND --help' describes a command.
)";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "seal") return qltool::seal(args);
    if (command == "open") return qltool::open(args);
    if (command == "call") return qltool::call(args);
    if (command == "time") return qltool::time(args);
    if (command == "download") return qltool::download(args);
    std::cerr << "qinglan-tool: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
