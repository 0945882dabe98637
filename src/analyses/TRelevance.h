#pragma once

#include "analyses/TFactorAnalysis.h"

namespace kavo {

// "Relevance": how often the row's factors occur in the column's perceptions, and how many goals,
// how much priority, stake and interest the perceivers put on them.
class TRelevance : public TFactorAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fOccurrences,
        fOccPerActor,
        fGoals,
        fGoalsPerActor,
        fTotalPriority,
        fAvgPriority,
        fTotalStake,
        fAvgStake,
        fTotalInterest,
        fAvgInterest,
    };

    TRelevance(std::string title, TAnalysisFamily family)
        : TFactorAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;

    // Perceptions with at least one factor: an empty perception counts for nothing.
    int PerceptionCount = 0;
    int Occurrences = 0;
    int GoalCount = 0;
    int TotalPriority = 0;
    double TotalStake = 0;
    double TotalInterest = 0;
};

}  // namespace kavo
