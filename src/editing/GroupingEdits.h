#pragma once

#include <cstdint>
#include <vector>

#include "model/TGroup.h"

namespace kavo {

class TCase;
class TEdit;
class TTag;

// The undoable changes that the grouping dialog makes: the groups of a kind, their tag sets and
// checks, and the case's grouping modes. Each names the edit unless it has a name.

// A new group of the kind, named "Arena group", "Actor group" or "Factor group", or that word
// followed by the first number that no group's name (in any letter case) takes yet. Null when the
// case refuses the name.
TGroup* AddGroup(TEdit& edit, TCase& owningCase, TGroupKind kind);

// Gives the group the tags, in the order of the case's tag list, and describes the new set in its
// comment.
void SetGroupTags(TEdit& edit, TCase& owningCase, TGroup& group, std::vector<TTag*> tags);

// Whether the group takes part in analyses that group by group.
void SetGroupChecked(TEdit& edit, TGroup& group, bool checked);

// The grouping mode of the arenas, actors or factors (by the kind of group that dimension has).
void SetGroupingMode(TEdit& edit, TCase& owningCase, TGroupKind dimension, std::uint8_t mode);

// Whether factor groups keep only the factors that the perceptions of a run mention.
void SetMentionedOnly(TEdit& edit, TCase& owningCase, bool mentionedOnly);

}  // namespace kavo
