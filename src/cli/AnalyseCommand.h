#pragma once

#include <ostream>

#include "analyses/TGroupingSettings.h"
#include "cli/CaseCommands.h"
#include "cli/TCommand.h"

namespace kavo {

class TAnalysisCatalog;
class TCase;

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

// The grouping of the case with the modes and the selected arena and actor that the options
// (--arena, --actor, --arena-grouping, --actor-grouping, --factor-grouping, --mentioned-only) set;
// problem says what is wrong with them.
TGroupingSettings CommandGrouping(const TCase& current, const TArguments& arguments,
                                  std::string& problem);
// The analyses (--analysis) and fields (--all-fields) the options ask for, on top of the case's
// selection; false with a problem for a title the catalog lacks.
bool SelectAnalyses(TAnalysisCatalog& catalog, const TArguments& arguments, std::string& problem);

}  // namespace kavo
