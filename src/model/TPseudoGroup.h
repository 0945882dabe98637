#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/TGroup.h"

namespace kavo {

class TCase;
class TConcept;

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
    // Not owned.
    std::vector<TConcept*> Members;
    std::vector<std::unique_ptr<TPseudoGroup>> SubGroups;

    // Empties the list, then appends the members in order.
    void CopyMembers(std::vector<TConcept*>& list) const { list = Members; }
};

}  // namespace kavo
