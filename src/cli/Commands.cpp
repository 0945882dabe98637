#include "cli/Commands.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "cli/AnalyseCommand.h"
#include "cli/CaseCommands.h"
#include "cli/ExchangeCommands.h"
#include "cli/GraphCommand.h"
#include "cli/InferCommand.h"
#include "cli/QuickCommand.h"
#include "cli/RenderCommand.h"
#include "cli/SensitivityCommand.h"
#include "cli/SimulateCommand.h"

namespace kavo {

namespace {

// The command table: a new command defines its TCommand beside its code and adds it here.
const TCommand* const kCommands[] = {
    &kCheckCommand,    &kResaveCommand,      &kRenderCommand,  &kInferCommand,
    &kSimulateCommand, &kQuickCommand,       &kAnalyseCommand, &kExportCommand,
    &kImportCommand,   &kSensitivityCommand, &kGraphCommand,
};

constexpr std::string_view kExitStatusRule =
    "Exit status: 0 done; 1 done, but with messages or stopped by a time limit; 2 not done: bad\n"
    "arguments, an unreadable case, a selection that matches nothing, or a result that could\n"
    "not be written.\n";

}  // namespace

std::span<const TCommand* const> Commands() {
    return kCommands;
}

const TCommand* FindCommand(std::string_view name) {
    const auto found =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [name](const TCommand* command) { return command->Name == name; });
    return found == std::end(kCommands) ? nullptr : *found;
}

void WriteUsage(std::ostream& out) {
    out << "usage: kavo-cli COMMAND ARGUMENTS\n"
           "       kavo-cli COMMAND --help    the command's arguments and options\n"
           "       kavo-cli --version\n"
           "\n"
           "Commands:\n";
    for (const TCommand* command : kCommands) {
        out << "  " << command->Name << ' ' << command->Synopsis << "\n      " << command->Summary
            << "\n";
    }
    out << "\n" << kExitStatusRule;
}

void WriteCommandUsage(const TCommand& command, std::ostream& out) {
    std::string summary(command.Summary);
    if (!summary.empty()) {
        summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    }
    out << "usage: kavo-cli " << command.Name << ' ' << command.Synopsis << "\n\n"
        << summary << ".\n\n"
        << command.Help;
}

}  // namespace kavo
