#pragma once

#include "analyses/TFactorAnalysis.h"

namespace kavo {

class TPerception;

// "Overview of rounds": per factor and round, the factor's round value and pending change in the
// round's pseudo-reality, and what the goals of the column's perceptions make of that value. The
// run gives it the round arenas only, one per arena group when arenas are not grouped.
class TRoundsOverview : public TFactorAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fChange,
        fPendingChange,
        fAffectedGoals,
        fUtility,
        fSatisfaction,
        fFrustration,
        fPlotResults,
    };

    TRoundsOverview(std::string title, TAnalysisFamily family)
        : TFactorAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;
    // Writes an error paragraph instead of the table when the arenas are grouped or the case has no
    // round 0.
    void WriteTable(std::ostream& out) override;

    // The analyst view of the column's round, which holds the round values; not owned.
    TPerception* RoundReference = nullptr;
    // Set by a table written with "Plot results" selected: the program then shows the plot of the
    // rounds of the run's case.
    bool PlotRequested = false;

    int AffectedGoals = 0;
    double UtilitySum = 0;
    double SatisfactionSum = 0;
    double FrustrationSum = 0;
    // Round value and pending change of the row's factor in the round.
    double RoundChange = 0;
    double RoundPending = 0;
};

}  // namespace kavo
