#include "editing/GroupingEdits.h"

#include <algorithm>
#include <string>

#include "editing/TEdit.h"
#include "model/TCase.h"

namespace kavo {

TGroup* AddGroup(TEdit& edit, TCase& owningCase, TGroupKind kind) {
    std::string word = GroupKindWord(kind);
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    const std::string base = word + " group";
    std::string name = base;
    // The list finds names without regard to letter case.
    for (int n = 1; owningCase.GroupList.FindByName(name) >= 0; ++n) {
        name = base + " " + std::to_string(n);
    }
    const int size = owningCase.GroupList.Size();
    TGroup* group = owningCase.FindOrCreateGroup(name, GroupKindWord(kind) + "s");
    if (group == nullptr || owningCase.GroupList.Size() == size) {
        return nullptr;
    }
    edit.NameIfUnnamed("New group");
    edit.ConceptInserted(owningCase.GroupList, group);
    return group;
}

void SetGroupTags(TEdit& edit, TCase& owningCase, TGroup& group, std::vector<TTag*> tags) {
    std::vector<TTag*> ordered;
    for (const auto& tag : owningCase.TagList) {
        if (std::find(tags.begin(), tags.end(), tag.get()) != tags.end()) {
            ordered.push_back(tag.get());
        }
    }
    edit.NameIfUnnamed("Change tags of group");
    edit.Set(group.Tags, std::move(ordered));
    const std::vector<std::string> before = group.Comment;
    group.UpdateDescription();
    edit.Changed(group.Comment, before);
}

void SetGroupChecked(TEdit& edit, TGroup& group, bool checked) {
    edit.NameIfUnnamed(checked ? "Check group" : "Uncheck group");
    edit.Set(group.Checked, checked);
}

void SetGroupingMode(TEdit& edit, TCase& owningCase, TGroupKind dimension, std::uint8_t mode) {
    edit.NameIfUnnamed("Change grouping of " + GroupKindWord(dimension) + "s");
    switch (dimension) {
        case TGroupKind::gkArena:
            edit.Set(owningCase.ArenaGrouping, mode);
            break;
        case TGroupKind::gkActor:
            edit.Set(owningCase.ActorGrouping, mode);
            break;
        case TGroupKind::gkFactor:
            edit.Set(owningCase.FactorGrouping, mode);
            break;
    }
}

void SetMentionedOnly(TEdit& edit, TCase& owningCase, bool mentionedOnly) {
    edit.NameIfUnnamed(mentionedOnly ? "Mentioned factors only" : "All factors");
    edit.Set(owningCase.MentionedOnly, mentionedOnly);
}

}  // namespace kavo
