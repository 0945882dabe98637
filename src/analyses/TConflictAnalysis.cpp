#include "analyses/TConflictAnalysis.h"

#include <memory>

#include "analyses/TAnalysisRun.h"
#include "model/TPerception.h"
#include "reasoning/Comparison.h"

namespace kavo {

namespace {

// The cells read only counts and totals: the per-item lines are not gathered.
void Add(TConflict& sum, std::unique_ptr<TConflict> conflict) {
    sum.Count += conflict->Count;
    sum.Total += conflict->Total;
}

}  // namespace

bool TConflictAnalysis::Wanted(Field count, Field mean) const {
    return FieldSelected(count) || FieldSelected(mean);
}

void TConflictAnalysis::ClearSums() {
    GoalConflicts.Clear();
    ProspectConflicts.Clear();
    InfluenceConflicts.Clear();
    ActionConflicts.Clear();
}

void TConflictAnalysis::Compute() {
    ClearSums();
    const bool goals = Wanted(fGoals, fGoalConflict);
    const bool prospects = Wanted(fProspects, fProspectConflict);
    const bool influences = Wanted(fInfluences, fInfluenceConflict);
    const bool actions = Wanted(fActions, fActionConflict);
    for (TPerception* b : RowPerceptions) {
        for (TPerception* a : ColumnPerceptions) {
            if (goals) {
                Add(GoalConflicts, CompareGoals(*b, *a));
            }
            if (prospects) {
                Add(ProspectConflicts, CompareProspects(*b, *a));
            }
            if (influences) {
                Add(InfluenceConflicts, CompareInfluences(*b, *a));
            }
            if (actions) {
                Add(ActionConflicts, CompareTactics(*b, *a));
                Run->NoteSampling(*a);
                Run->NoteSampling(*b);
            }
        }
    }
}

std::string TConflictAnalysis::ValueCells() {
    std::string cells = SelectedCells({
        {fGoals, NumberCell(fGoals, GoalConflicts.Count)},
        {fGoalConflict, NumberCell(fGoalConflict, GoalConflicts.Mean())},
        {fProspects, NumberCell(fProspects, ProspectConflicts.Count)},
        {fProspectConflict, NumberCell(fProspectConflict, ProspectConflicts.Mean())},
        {fInfluences, NumberCell(fInfluences, InfluenceConflicts.Count)},
        {fInfluenceConflict, NumberCell(fInfluenceConflict, InfluenceConflicts.Mean())},
        {fActions, NumberCell(fActions, ActionConflicts.Count)},
        {fActionConflict, NumberCell(fActionConflict, ActionConflicts.Mean())},
    });
    ClearSums();
    return cells;
}

}  // namespace kavo
