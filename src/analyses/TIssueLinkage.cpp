#include "analyses/TIssueLinkage.h"

#include <algorithm>

#include "analyses/TAnalysisRun.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/Comparison.h"

namespace kavo {

namespace {

template <typename T>
void AppendOnce(std::vector<T*>& list, const std::vector<T*>& items) {
    for (T* item : items) {
        if (std::ranges::find(list, item) == list.end()) {
            list.push_back(item);
        }
    }
}

template <typename T>
bool Contains(const std::vector<T*>& list, const T* item) {
    return std::ranges::find(list, item) != list.end();
}

std::vector<TArena*> ArenasOf(const TPseudoGroup& group) {
    std::vector<TArena*> arenas;
    for (TConcept* arena : group.Members) {
        arenas.push_back(static_cast<TArena*>(arena));
    }
    return arenas;
}

}  // namespace

int Consensus(TArena& arena, const TFactor* factor) {
    double positive = 0;
    double negative = 0;
    double neutral = 0;
    for (const auto& record : arena.Actors) {
        const TPreferredChange preferred = PreferredChange(*record->Perception, factor);
        if (!preferred.Valid) {
            continue;
        }
        (preferred.Level < 0   ? negative
         : preferred.Level > 0 ? positive
                               : neutral) += preferred.Value;
    }
    if (positive > negative && positive > neutral) {
        return 1;
    }
    if (negative > positive && negative > neutral) {
        return -1;
    }
    return 0;
}

void TIssueLinkage::Compute() {
    RowActorCount = 0;
    CommonActors = 0;
    RowFactorCount = 0;
    CommonFactors = 0;
    SharedInterest = 0;
    ConflictingInterest = 0;
    ComparedInterest = 0;
    if (RowIndex == 0 && ColumnIndex == 0) {
        Consensuses.clear();
    }
    const std::vector<TArena*> rowArenas =
        ArenasOf(*ArenaGroups[static_cast<std::size_t>(RowIndex)]);
    const std::vector<TArena*> columnArenas =
        ArenasOf(*ArenaGroups[static_cast<std::size_t>(ColumnIndex)]);
    std::vector<TActor*> rowActors;
    std::vector<TFactor*> rowFactors;
    std::vector<TActor*> columnActors;
    std::vector<TFactor*> columnFactors;
    for (const TArena* arena : rowArenas) {
        AppendOnce(rowActors, arena->InvolvedActors());
        AppendOnce(rowFactors, arena->InvolvedFactors());
    }
    for (const TArena* arena : columnArenas) {
        AppendOnce(columnActors, arena->InvolvedActors());
        AppendOnce(columnFactors, arena->InvolvedFactors());
    }
    RowActorCount = static_cast<int>(rowActors.size());
    RowFactorCount = static_cast<int>(rowFactors.size());
    CommonActors = static_cast<int>(std::ranges::count_if(
        rowActors, [&](const TActor* actor) { return Contains(columnActors, actor); }));
    for (const TFactor* factor : rowFactors) {
        if (Run->Cancelled()) {
            break;
        }
        if (!Contains(columnFactors, factor)) {
            continue;
        }
        ++CommonFactors;
        for (TArena* rowArena : rowArenas) {
            for (TArena* columnArena : columnArenas) {
                if (KnownConsensus(*rowArena, factor) == KnownConsensus(*columnArena, factor)) {
                    ++SharedInterest;
                } else {
                    ++ConflictingInterest;
                }
                ++ComparedInterest;
            }
        }
    }
    if (CommonFactors > 0) {
        NoteSampling(rowArenas);
        NoteSampling(columnArenas);
    }
}

int TIssueLinkage::KnownConsensus(TArena& arena, const TFactor* factor) {
    const auto key = std::make_pair(static_cast<const TArena*>(&arena), factor);
    const auto found = Consensuses.find(key);
    if (found != Consensuses.end()) {
        return found->second;
    }
    const int consensus = Consensus(arena, factor);
    Consensuses.emplace(key, consensus);
    return consensus;
}

void TIssueLinkage::NoteSampling(const std::vector<TArena*>& arenas) {
    for (const TArena* arena : arenas) {
        for (const auto& record : arena->Actors) {
            Run->NoteSampling(*record->Perception);
        }
    }
}

std::string TIssueLinkage::ValueCells() {
    return SelectedCells({
        {fCommonActors, NumberCell(fCommonActors, CommonActors)},
        {fActorsPerArena, QuotientCell(fActorsPerArena, CommonActors, RowActorCount, true)},
        {fCommonFactors, NumberCell(fCommonFactors, CommonFactors)},
        {fFactorsPerArena, QuotientCell(fFactorsPerArena, CommonFactors, RowFactorCount, true)},
        {fSharedInterest, NumberCell(fSharedInterest, SharedInterest)},
        {fSharedPerTotal, QuotientCell(fSharedPerTotal, SharedInterest, ComparedInterest, true)},
        {fConflictingInterest, NumberCell(fConflictingInterest, ConflictingInterest)},
        {fConflictingPerTotal,
         QuotientCell(fConflictingPerTotal, ConflictingInterest, ComparedInterest, true)},
    });
}

}  // namespace kavo
