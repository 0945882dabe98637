#include "model/TGroup.h"

#include "model/TCase.h"

namespace kavo {

std::string GroupKindWord(TGroupKind kind) {
    switch (kind) {
        case TGroupKind::gkArena:
            return "arena";
        case TGroupKind::gkActor:
            return "actor";
        case TGroupKind::gkFactor:
            return "factor";
    }
    return "factor";
}

TGroup::TGroup(TCase* owningCase, std::string name, TGroupKind kind)
    : TConcept(TConceptKind::ckGroup, owningCase, std::move(name)), GroupKind(kind) {
    UpdateDescription();
}

std::string TGroup::TagSetDescription() const {
    std::string text = "{";
    bool first = true;
    for (const auto& tag : Case->TagList) {
        if (HasTag(tag.get())) {
            text += first ? "" : ", ";
            text += tag->Name;
            first = false;
        }
    }
    return text + "}";
}

void TGroup::UpdateDescription() {
    Comment = {TagSetDescription()};
}

std::vector<TConcept*> TGroup::MemberList() const {
    std::vector<TConcept*> members;
    const auto collect = [&](const auto& list) {
        for (const auto& item : list) {
            for (TTag* tag : item->Tags) {
                if (HasTag(tag)) {
                    members.push_back(item.get());
                    break;
                }
            }
        }
    };
    switch (GroupKind) {
        case TGroupKind::gkArena:
            collect(Case->ArenaList);
            break;
        case TGroupKind::gkActor:
            collect(Case->ActorList);
            break;
        case TGroupKind::gkFactor:
            collect(Case->FactorList);
            break;
    }
    return members;
}

}  // namespace kavo
