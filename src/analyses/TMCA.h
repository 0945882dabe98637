#pragma once

#include <string>

#include "analyses/TTacticAnalysis.h"

namespace kavo {

// "Multi-Criteria Analysis": the rating of a tactic broken down by goal factor, per column: the
// goal factors the tactic reaches, the goals' averaged utility vector, the averaged effect on the
// factor, and the expected utility per factor with their sum.
class TMCA : public TTacticAnalysis {
  public:
    // Positions of the fields.
    enum Field { fGoal, fEffect, fUtility, fStdDevUtility };

    TMCA(std::string title, TAnalysisFamily family) : TTacticAnalysis(std::move(title), family) {}

    // The cells are computed as they are written.
    void Compute() override {}
    std::string ValueCells() override;
};

}  // namespace kavo
