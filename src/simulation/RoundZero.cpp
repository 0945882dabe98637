#include "simulation/RoundZero.h"

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

}  // namespace kavo
