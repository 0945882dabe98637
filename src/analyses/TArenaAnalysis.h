#pragma once

#include "analyses/TAnalysis.h"

namespace kavo {

// An analysis of pairs of arena groups: a row and a column per arena group of the run.
class TArenaAnalysis : public TAnalysis {
  public:
    TArenaAnalysis(std::string title, TAnalysisFamily family);

    // Positions in ArenaGroups of the current cell's column and row.
    int ColumnIndex = 0;
    int RowIndex = 0;

    std::vector<std::string> HeaderRows(bool showGraph) override;
    void WriteTable(std::ostream& out) override;
};

}  // namespace kavo
