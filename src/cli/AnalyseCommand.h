#pragma once

#include <ostream>

#include "cli/CaseCommands.h"
#include "cli/TCommand.h"

namespace kavo {

// kavo-cli analyse FOLDER [--out FILE] [--analysis TITLE]... [--all-fields] [--arena NAME]
// [--actor NAME] [--arena-grouping N] [--actor-grouping N] [--factor-grouping N]
// [--mentioned-only 0|1] [--time-limit SECONDS]: writes the case's analysis report.
extern const TCommand kAnalyseCommand;

// Reads the case and writes its analysis report, as the desktop program's Analyze command does,
// into --out (FOLDER/Analysis.htm by default) with the report's icons written by the writer that
// makeImageWriter makes into the gif folder beside it. Prints the report's path to out; progress
// and messages go to err.
TExitStatus Analyse(const TArguments& arguments, std::ostream& out, std::ostream& err,
                    const TImageWriterFactory& makeImageWriter);

}  // namespace kavo
