// mirvex-build: the tool for test authors and administrators.
#include <algorithm>
#include <iostream>
#include <string>

#include "Commands.h"
#include "package/ZipArchive.h"

int main(int argc, char** argv) {
    using namespace mirvex::tools;
    // Every archive of the process uses the system's record signatures.
    mirvex::InstallZipSignatures(mirvex::kSystemZipSignatures);
    const std::string command = argc > 1 ? argv[1] : "";
    const TArgs args(argv + std::min(argc, 2), argv + argc);
    if (command == "dump") return DumpCommand(args);
    if (command == "script") return ScriptCommand(args);
    std::cerr << "usage: mirvex-build COMMAND [ARGS]\n"
                 "commands:\n"
                 "  dump FILE             print a test package or a statistics file as JSON\n"
                 "  dump --as KIND FILE   print one record block as JSON\n"
                 "  script FILE [--var NAME=VALUE ...]\n"
                 "                        compile and run a script\n";
    return 2;
}
