#include "editing/SimulationEdits.h"

#include "editing/TEdit.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "simulation/RoundZero.h"
#include "simulation/Rounds.h"
#include "simulation/TRoundExecution.h"

namespace kavo {

TArena* InitializeRound0(TEdit& edit, TCase& owningCase) {
    edit.NameIfUnnamed("Initialize round 0");
    std::vector<TArena*> doomed;
    for (const auto& arena : owningCase.ArenaList) {
        if (IsSimulationArena(*arena)) {
            doomed.push_back(arena.get());
        }
    }
    for (TArena* arena : doomed) {
        edit.RemoveConcept(owningCase.ArenaList, arena);
    }
    TArena* round = CompileRound0(owningCase);
    edit.ConceptInserted(owningCase.ArenaList, round);
    edit.TreeChanged = true;
    return round;
}

std::optional<TRoundReport> NextRound(TEdit& edit, TCase& owningCase, TArena* previous) {
    TRoundExecution execution(owningCase);
    if (!execution.CanStartFrom(previous)) {
        return std::nullopt;
    }
    edit.NameIfUnnamed("Next round");
    for (TArena* later : RoundsFrom(owningCase, TRoundExecution::NextNumber(*previous))) {
        edit.RemoveConcept(owningCase.ArenaList, later);
    }
    TRoundReport report = execution.Execute(*previous);
    if (report.Cancelled) {
        edit.Undo();
        return report;
    }
    edit.ConceptInserted(owningCase.ArenaList, report.Round);
    edit.TreeChanged = true;
    edit.Focus = report.Round->AnalystView.get();
    return report;
}

}  // namespace kavo
