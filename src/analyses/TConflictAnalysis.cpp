#include "analyses/TConflictAnalysis.h"

#include <memory>

#include "analyses/TAnalysisRun.h"
#include "model/TPerception.h"
#include "reasoning/Comparison.h"
#include "reasoning/Inference.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

// The cells read only counts and totals: the per-item lines are not gathered.
void Add(TConflict& sum, const TConflict& conflict) {
    sum.Count += conflict.Count;
    sum.Total += conflict.Total;
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

void TConflictAnalysis::WriteTable(std::ostream& out) {
    Profiles.clear();
    TActorActorAnalysis::WriteTable(out);
    Profiles.clear();
}

TComparisonProfile& TConflictAnalysis::Profile(TPerception& perception) {
    std::unique_ptr<TComparisonProfile>& profile = Profiles[&perception];
    if (!profile) {
        profile = std::make_unique<TComparisonProfile>(perception);
    }
    return *profile;
}

// A perception whose results are not valid is inferred (evaluated) again, as often as it takes,
// and its profile takes the new results.
const TComparisonProfile& TConflictAnalysis::Inferred(TPerception& perception) {
    TComparisonProfile& profile = Profile(perception);
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
        profile.TakeInfluences();
    } else if (!profile.HasInfluences()) {
        profile.TakeInfluences();
    }
    return profile;
}

const TComparisonProfile& TConflictAnalysis::Evaluated(TPerception& perception) {
    TComparisonProfile& profile = Profile(perception);
    if (!perception.ResultsValid[TPerception::TacticsEvaluated]) {
        const bool inferred = perception.ResultsValid[TPerception::Inferred];
        EvaluateAllTactics(perception);
        if (!inferred && profile.HasInfluences()) {
            profile.TakeInfluences();
        }
        profile.TakeTactics();
    } else if (!profile.HasTactics()) {
        profile.TakeTactics();
    }
    return profile;
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
                Add(GoalConflicts, kavo::GoalConflicts(Profile(*b), Profile(*a), false));
            }
            if (prospects) {
                Add(ProspectConflicts, kavo::ProspectConflicts(Profile(*b), Profile(*a), false));
            }
            if (influences) {
                const TComparisonProfile& first = Inferred(*b);
                Add(InfluenceConflicts, kavo::InfluenceConflicts(first, Inferred(*a), false));
            }
            if (actions) {
                const TComparisonProfile& first = Evaluated(*b);
                Add(ActionConflicts, TacticConflicts(first, Evaluated(*a), false));
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
