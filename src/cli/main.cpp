#include <iostream>
#include <string_view>

#include "cli/CaseCommands.h"

namespace {

constexpr std::string_view kUsage =
    "usage: kavo-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "  check FOLDER              read the case in FOLDER, print the reader's messages and a\n"
    "                            summary; exit status 0 clean, 1 read with messages, 2 unreadable\n"
    "  resave FOLDER OUTFOLDER   read the case in FOLDER and write it into OUTFOLDER\n";

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "check" && argc == 3) {
        return kavo::CheckCase(argv[2], std::cout);
    }
    if (command == "resave" && argc == 4) {
        return kavo::ResaveCase(argv[2], argv[3], std::cout);
    }
    if (command == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (!command.empty() && command != "check" && command != "resave") {
        std::cerr << "kavo-cli: unknown command \"" << command << "\"\n";
    }
    std::cerr << kUsage;
    return 2;
}
