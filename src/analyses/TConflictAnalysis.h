#pragma once

#include "analyses/TActorActorAnalysis.h"
#include "reasoning/TConflict.h"

namespace kavo {

// "Conflict": how far A's goals, prospects, causal influences and appraisals of actions differ
// from B's, summed over every pair of their perceptions.
class TConflictAnalysis : public TActorActorAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fGoals,
        fGoalConflict,
        fProspects,
        fProspectConflict,
        fInfluences,
        fInfluenceConflict,
        fActions,
        fActionConflict,
    };

    TConflictAnalysis(std::string title, TAnalysisFamily family)
        : TActorActorAnalysis(std::move(title), family) {}

    void Compute() override;
    // Clears the sums once written.
    std::string ValueCells() override;

    TConflict GoalConflicts{TConflictKind::ckGoals};
    TConflict ProspectConflicts{TConflictKind::ckProspects};
    TConflict InfluenceConflicts{TConflictKind::ckInfluences};
    TConflict ActionConflicts{TConflictKind::ckTactics};

  private:
    bool Wanted(Field count, Field mean) const;
    void ClearSums();
};

}  // namespace kavo
