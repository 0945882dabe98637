#pragma once

#include "analyses/TAnalysis.h"

namespace kavo {

// An analysis of tactics: for each action group seven rows, one per change level, and the columns
// of a factor analysis.
class TTacticAnalysis : public TAnalysis {
  public:
    TTacticAnalysis(std::string title, TAnalysisFamily family);

    // The change level -3..+3 of the current row.
    int TacticChange = 0;

    void WriteTable(std::ostream& out) override;
};

}  // namespace kavo
