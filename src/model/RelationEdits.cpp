#include "model/RelationEdits.h"

#include <algorithm>
#include <memory>

#include "model/TCase.h"

namespace kavo {

namespace {

int Bounded(TActorRelationType type, int strength) {
    return type == TActorRelationType::rtAffect ? std::clamp(strength, -5, 5)
                                                : std::clamp(strength, 0, 1);
}

}  // namespace

TRelationState RelationState(const TCase& owningCase, const TActor* from, const TActor* to) {
    const int index = owningCase.FindRelation(from, to);
    if (index < 0) {
        return {};
    }
    const TActorRelation& relation = *owningCase.Relations[static_cast<std::size_t>(index)];
    return {true, static_cast<std::size_t>(index), relation.Strength, relation.Comment};
}

void RestoreRelation(TCase& owningCase, TActor* from, TActor* to, const TRelationState& state) {
    auto& relations = owningCase.Relations;
    const int index = owningCase.FindRelation(from, to);
    if (index >= 0) {
        relations.erase(relations.begin() + index);
    }
    if (state.Exists) {
        auto relation = std::make_unique<TActorRelation>(from, to);
        relation->Strength = state.Strength;
        relation->Comment = state.Comment;
        const std::size_t at = std::min(state.Index, relations.size());
        relations.insert(relations.begin() + static_cast<std::ptrdiff_t>(at), std::move(relation));
    }
    owningCase.Modified = true;
}

TActorRelation* SetRelationStrength(TCase& owningCase, TActor* from, TActor* to,
                                    TActorRelationType type, int strength) {
    auto& relations = owningCase.Relations;
    const int index = owningCase.FindRelation(from, to);
    const int value = Bounded(type, strength);
    if (index < 0) {
        if (value == 0) {
            return nullptr;
        }
        relations.push_back(std::make_unique<TActorRelation>(from, to));
        (*relations.back())[type] = static_cast<std::int16_t>(value);
        owningCase.Modified = true;
        return relations.back().get();
    }
    TActorRelation& relation = *relations[static_cast<std::size_t>(index)];
    if (relation[type] != value) {
        relation[type] = static_cast<std::int16_t>(value);
        owningCase.Modified = true;
    }
    const bool empty = std::all_of(relation.Strength.begin(), relation.Strength.end(),
                                   [](std::int16_t s) { return s == 0; });
    if (empty) {
        relations.erase(relations.begin() + index);
        return nullptr;
    }
    return &relation;
}

}  // namespace kavo
