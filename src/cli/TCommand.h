#pragma once

#include <ostream>
#include <string_view>

#include "cli/TArguments.h"

namespace kavo {

// How a command ended; the same rule for every command of kavo-cli.
enum class TExitStatus {
    esDone = 0,          // done, without a message
    esWithMessages = 1,  // done, but with messages (warnings of the reader, a picture not written)
                         // or stopped by a time limit
    esFailed = 2,        // not done: bad arguments, an unreadable case, a selection that matches
                         // nothing, or a result that could not be written
};

// One command of kavo-cli: one row of the command table (cli/Commands.cpp).
struct TCommand {
    std::string_view Name;
    // The arguments after the name, as the list of commands shows them: "FOLDER OUTFOLDER".
    std::string_view Synopsis;
    // What the command does, in one line for the list of commands.
    std::string_view Summary;
    // The rest of "kavo-cli NAME --help" after the usage line: each option on a line of its own,
    // then whatever the user needs to know (the output, exit statuses beyond the common rule).
    std::string_view Help;
    // The arguments it accepts; main checks them before Run is called.
    TArgumentRules Rules;
    // Runs the command: results to out, messages and errors to err (each line of err starting
    // "kavo-cli NAME: " or "KAVO warning: " ...).
    TExitStatus (*Run)(const TArguments& arguments, std::ostream& out, std::ostream& err) = nullptr;
};

}  // namespace kavo
