#pragma once

#include <vector>

#include "model/TConcept.h"

namespace kavo {

enum class TGroupKind { gkArena = 0, gkActor = 1, gkFactor = 2 };

// "arena", "actor" or "factor".
std::string GroupKindWord(TGroupKind kind);

// A named set of tags gathering the arenas, actors or factors that carry any of them. The tag set
// is the concept's tag list; the comment always holds one line describing it.
class TGroup : public TConcept {
  public:
    TGroup(TCase* owningCase, std::string name, TGroupKind kind);

    TGroupKind GroupKind;
    // Whether the group is chosen for grouping in analyses.
    bool Checked = false;

    // "{}" or "{" + the tag names in the order of the case's tag list, joined by ", " + "}".
    std::string TagSetDescription() const;
    // Makes the comment the description of the tag set; call after the tag set changed.
    void UpdateDescription();
    // The concepts of the group's kind, in the order of the case's list, that carry a tag of the
    // set.
    std::vector<TConcept*> MemberList() const;
};

}  // namespace kavo
