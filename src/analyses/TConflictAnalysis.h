#pragma once

#include <memory>
#include <unordered_map>

#include "analyses/TActorActorAnalysis.h"
#include "reasoning/TComparisonProfile.h"
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

    // Forgets the profiles of the perceptions before and after the table.
    void WriteTable(std::ostream& out) override;
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
    // The profile of a perception, built at its first comparison and kept for the rest of the
    // table; with its influences (tactics), after the perception was inferred (its tactics
    // evaluated) as each comparison needs.
    TComparisonProfile& Profile(TPerception& perception);
    const TComparisonProfile& Inferred(TPerception& perception);
    const TComparisonProfile& Evaluated(TPerception& perception);

    std::unordered_map<const TPerception*, std::unique_ptr<TComparisonProfile>> Profiles;
};

}  // namespace kavo
