#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analyses/TAnalysis.h"

namespace kavo {

class TGoal;
class TImpact;
class TPerception;
class TStrategy;

// "Single Goal Strategies": for every goal factor and column, the best combination of the tactics
// that reach that one goal, scored by that goal alone, with what it brings over all goals.
class TSingleGoalStrategies : public TAnalysis {
  public:
    // Positions of the fields.
    enum Field { fGoal, fTactics, fUtility, fSatisfaction, fFrustration, fFullSet };

    TSingleGoalStrategies(std::string title, TAnalysisFamily family);
    ~TSingleGoalStrategies() override;

    // The goal of the current cell in the column's first perception; not owned.
    TGoal* CurrentGoal = nullptr;
    // Searched for the current cell.
    std::unique_ptr<TStrategy> GoalStrategy;
    // The column's first perception holds no goal on the row's factor.
    bool NoGoal = true;
    // Per tactic of GoalStrategy, the impact of its action on the goal; not owned.
    std::vector<const TImpact*> TacticImpacts;
    // Strategy evaluations of the searches since the table was started.
    std::int64_t EvaluationsRun = 0;
    // While a table is written: the perceptions whose working values are, since an earlier cell,
    // those of an evaluation without tactics, with that cell's strategy. A cell of such a
    // perception without tactics takes its results over instead of evaluating the same again.
    std::map<const TPerception*, std::unique_ptr<TStrategy>> Unacted;

    void Compute() override;
    std::string ValueCells() override;
    void WriteTable(std::ostream& out) override;
};

}  // namespace kavo
