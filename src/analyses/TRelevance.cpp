#include "analyses/TRelevance.h"

#include "analyses/TAnalysisRun.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo {

void TRelevance::Compute() {
    PerceptionCount = 0;
    Occurrences = 0;
    GoalCount = 0;
    TotalPriority = 0;
    TotalStake = 0;
    TotalInterest = 0;
    for (const TPerception* perception : ColumnPerceptions) {
        if (perception->FiPs.empty()) {
            continue;
        }
        ++PerceptionCount;
        for (const TFactor* factor : RowFactors) {
            for (const auto& fip : perception->FiPs) {
                if (fip->Factor != factor) {
                    continue;
                }
                ++Occurrences;
                if (const TGoal* goal = perception->GoalOf(fip.get())) {
                    ++GoalCount;
                    TotalPriority += goal->Priority;
                    TotalStake += Stake(Run->Case, *goal);
                    TotalInterest += Interest(Run->Case, *goal);
                }
            }
        }
    }
}

std::string TRelevance::ValueCells() {
    const double perceptions = PerceptionCount;
    const double goals = GoalCount;
    return SelectedCells({
        {fOccurrences, NumberCell(fOccurrences, Occurrences)},
        {fOccPerActor, QuotientCell(fOccPerActor, Occurrences, perceptions, true)},
        {fGoals, NumberCell(fGoals, GoalCount)},
        {fGoalsPerActor, QuotientCell(fGoalsPerActor, GoalCount, perceptions, true)},
        {fTotalPriority, NumberCell(fTotalPriority, TotalPriority)},
        {fAvgPriority, QuotientCell(fAvgPriority, TotalPriority, goals, false)},
        {fTotalStake, NumberCell(fTotalStake, TotalStake)},
        {fAvgStake, QuotientCell(fAvgStake, TotalStake, goals, false)},
        {fTotalInterest, NumberCell(fTotalInterest, TotalInterest)},
        {fAvgInterest, QuotientCell(fAvgInterest, TotalInterest, goals, false)},
    });
}

}  // namespace kavo
