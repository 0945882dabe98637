#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/TActorRelation.h"

namespace kavo {

class TActor;
class TCase;

// What the case holds for the relation from one actor to another: nothing, or the relation's
// strengths and comment at its place in the case's list. An undo restores it.
struct TRelationState {
    bool Exists = false;
    std::size_t Index = 0;
    std::array<std::int16_t, kRelationTypeCount> Strength{};
    std::vector<std::string> Comment;
    friend bool operator==(const TRelationState&, const TRelationState&) = default;
};

TRelationState RelationState(const TCase& owningCase, const TActor* from, const TActor* to);
// Makes the case hold the state again for the relation from one actor to the other; marks the
// case modified.
void RestoreRelation(TCase& owningCase, TActor* from, TActor* to, const TRelationState& state);

// Sets one type's strength of the relation from one actor to another (affect -5..+5, the other
// types 0 or 1; larger values are cut to that range). A relation is made when there is none and
// removed when all its strengths are 0. Marks the case modified when anything changed. Returns
// the relation, or null when there is none afterwards.
TActorRelation* SetRelationStrength(TCase& owningCase, TActor* from, TActor* to,
                                    TActorRelationType type, int strength);

}  // namespace kavo
