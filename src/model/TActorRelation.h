#pragma once

#include <array>
#include <cstdint>

#include "model/TCommentedObject.h"

namespace kavo {

class TActor;

// The kinds of relation from one actor to another, in the order of a relation's strengths.
enum class TActorRelationType { rtAffect = 0, rtCooperation = 1, rtDominance = 2, rtFrankness = 3 };

inline constexpr int kRelationTypeCount = 4;

// "Affect", "Cooperation", "Dominance", "Frankness".
const char* RelationTypeName(TActorRelationType type);
// The hint shown to the user; affect has one for negative strengths (antipathy).
const char* RelationTypeHint(TActorRelationType type, bool negative = false);

// A directed relation between two actors: a strength for each type, 0 for none, 1..5 for its
// strength; only affect may be negative (-5..-1, antipathy).
class TActorRelation : public TCommentedObject {
  public:
    TActorRelation(TActor* from, TActor* to) : From(from), To(to) {}

    TActor* From;
    TActor* To;
    std::array<std::int16_t, kRelationTypeCount> Strength{};

    std::int16_t& operator[](TActorRelationType type) {
        return Strength[static_cast<std::size_t>(type)];
    }
    std::int16_t operator[](TActorRelationType type) const {
        return Strength[static_cast<std::size_t>(type)];
    }
};

}  // namespace kavo
