#include <iostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ProgramVersion.h"
#include "cli/Commands.h"

using namespace kavo;

namespace {

TExitStatus Run(const TCommand& command, const std::vector<std::string>& arguments) {
    if (AsksForHelp(arguments)) {
        WriteCommandUsage(command, std::cout);
        return TExitStatus::esDone;
    }
    const auto parsed = ParseArguments(arguments, command.Rules);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        std::cerr << "kavo-cli " << command.Name << ": " << *problem << "\n"
                  << "usage: kavo-cli " << command.Name << ' ' << command.Synopsis << "\n";
        return TExitStatus::esFailed;
    }
    return command.Run(std::get<TArguments>(parsed), std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view name = argc > 1 ? argv[1] : "";
    if (name == "--help" || name == "-h") {
        WriteUsage(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "kavo-cli " << kProgramVersion << "\n";
        return 0;
    }
    const TCommand* command = FindCommand(name);
    if (command == nullptr) {
        if (!name.empty()) {
            std::cerr << "kavo-cli: unknown command \"" << name << "\"\n";
        }
        WriteUsage(std::cerr);
        return static_cast<int>(TExitStatus::esFailed);
    }
    return static_cast<int>(Run(*command, std::vector<std::string>(argv + 2, argv + argc)));
}
