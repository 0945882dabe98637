#include "simulation/RoundZero.h"

#include <algorithm>
#include <memory>

#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TPerception.h"
#include "reasoning/Merge.h"
#include "simulation/Rounds.h"

namespace kavo {

namespace {

TAiA* RecordOf(const TArena& arena, const TActor* actor) {
    for (const auto& record : arena.Actors) {
        if (record->Actor == actor) {
            return record.get();
        }
    }
    return nullptr;
}

TAiA* AtPriority(const TArena& arena, int priority) {
    for (const auto& record : arena.Actors) {
        if (record->Priority == priority) {
            return record.get();
        }
    }
    return nullptr;
}

// Swaps the places of the actor and its neighbour at the other priority.
bool MoveTo(TAiA& actor, int priority) {
    TArena& arena = *actor.Arena;
    TAiA* neighbour = AtPriority(arena, priority);
    if (neighbour != nullptr) {
        neighbour->Priority = actor.Priority;
    }
    actor.Priority = priority;
    std::stable_sort(arena.Actors.begin(), arena.Actors.end(),
                     [](const auto& a, const auto& b) { return a->Priority < b->Priority; });
    arena.Case->Modified = true;
    return true;
}

}  // namespace

TArena* CompileRound0(TCase& owningCase) {
    std::vector<TArena*> sources;
    for (const auto& arena : owningCase.ArenaList) {
        if (!IsSimulationArena(*arena)) {
            sources.push_back(arena.get());
        }
    }
    TArena* round = owningCase.FindOrCreateArena(RoundName(0));
    for (const TArena* arena : sources) {
        for (const auto& source : arena->Actors) {
            TAiA* record = RecordOf(*round, source->Actor);
            if (record == nullptr) {
                record = round->AddActor(source->Actor);
                record->Priority = static_cast<int>(round->Actors.size());
            }
            record->Comment.insert(record->Comment.end(), source->Comment.begin(),
                                   source->Comment.end());
            MergeFrom(*record->Perception, *source->Perception, true);
        }
    }
    TPerception& reality = *round->AnalystView;
    for (const auto& record : round->Actors) {
        MergeFrom(reality, *record->Perception, false);
    }
    NormalizeUncertainties(reality);
    for (const auto& record : round->Actors) {
        NormalizeUncertainties(*record->Perception);
    }
    // Merging leaves the perceptions without a rationality of their own; they take the case's, as
    // the perceptions of later rounds do and as a saved case reads them back.
    reality.Rationality = owningCase.DefaultRationality;
    for (const auto& record : round->Actors) {
        record->Perception->Rationality = owningCase.DefaultRationality;
    }
    owningCase.Modified = true;
    return round;
}

bool CanRaisePriority(const TAiA& actor) {
    return IsRoundArena(*actor.Arena) && actor.Priority > 1;
}

bool CanLowerPriority(const TAiA& actor) {
    return IsRoundArena(*actor.Arena) &&
           actor.Priority < static_cast<int>(actor.Arena->Actors.size());
}

bool RaisePriority(TAiA& actor) {
    return CanRaisePriority(actor) && MoveTo(actor, actor.Priority - 1);
}

bool LowerPriority(TAiA& actor) {
    return CanLowerPriority(actor) && MoveTo(actor, actor.Priority + 1);
}

}  // namespace kavo
