#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/TGroup.h"

namespace kavo {

class TCase;
class TConcept;
class TPerception;

// A group put together for one analysis run: arenas, actors or factors shown under one caption.
class TPseudoGroup {
  public:
    TPseudoGroup(TCase* owningCase, TGroupKind kind, std::string caption)
        : Kind(kind), Case(owningCase), Caption(std::move(caption)) {}

    TGroupKind Kind;
    TCase* Case;
    std::string Caption;
    // HTML image markup, or "*", shown before the caption.
    std::string Icon;
    // Not owned: the arenas of an arena group, the factors of a factor group.
    std::vector<TConcept*> Members;
    // Not owned: what an actor group holds instead of actors, their perceptions (or the analyst
    // views) in the arenas of its arena group.
    std::vector<TPerception*> Perceptions;
    // For an arena group, its actor groups.
    std::vector<std::unique_ptr<TPseudoGroup>> SubGroups;

    // Empties the list, then appends the members in order.
    void CopyMembers(std::vector<TConcept*>& list) const { list = Members; }
};

}  // namespace kavo
