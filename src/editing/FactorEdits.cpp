#include "editing/FactorEdits.h"

#include <algorithm>
#include <memory>
#include <string>

#include "editing/CaseEdits.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TGroup.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "model/TTag.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo {

namespace {

void Disown(TEdit& edit, TFactor& factor) {
    if (factor.Owner == nullptr) {
        return;
    }
    edit.RemoveRef(factor.IsAction ? factor.Owner->Actions : factor.Owner->Attributes, &factor);
    edit.Set(factor.Owner, static_cast<TActor*>(nullptr));
    edit.Set(factor.IsAction, false);
}

// Removes the factor's goals from every perception; how many there were.
int RemoveGoalsOn(TEdit& edit, TCase& owningCase, const TFactor& factor) {
    int removed = 0;
    owningCase.ForEachPerception([&](TPerception& perception) {
        std::vector<TGoal*> goals;
        for (const auto& goal : perception.Goals) {
            if (goal->FiP->Factor == &factor) {
                goals.push_back(goal.get());
            }
        }
        for (TGoal* goal : goals) {
            RemoveGoal(edit, perception, goal);
            ++removed;
        }
    });
    return removed;
}

std::unique_ptr<TLink> CopiedLink(const TCase& current, const TLink& link, TFiP* from, TFiP* to,
                                  bool invert) {
    auto copy = std::make_unique<TLink>(current, from, to);
    copy->Level = static_cast<std::int8_t>(invert ? -link.Level : link.Level);
    copy->Uncertainty = link.Uncertainty;
    copy->Comment = link.Comment;
    copy->Distribution = link.Distribution;
    if (invert) {
        copy->Distribution.Negate();
    }
    copy->Vector = copy->Distribution.ToVector(current);
    return copy;
}

bool Linked(const TPerception& perception, const TFiP* from, const TFiP* to) {
    return std::any_of(perception.Links.begin(), perception.Links.end(), [&](const auto& link) {
        return link->FromFiP == from && link->ToFiP == to;
    });
}

void MergeIn(TEdit& edit, TCase& owningCase, TPerception& perception, TFactor& from, TFactor& into,
             bool invert) {
    TFiP* fF = perception.FindFiP(&from);
    if (fF == nullptr) {
        return;
    }
    TFiP* fG = perception.FindFiP(&into);
    if (fG == nullptr) {
        fG = AddFiP(edit, perception, std::make_unique<TFiP>(&into));
    }
    const TGoal* goal = perception.GoalOf(fF);
    if (goal != nullptr && perception.GoalOf(fG) == nullptr && !into.IsAction) {
        auto copy =
            std::make_unique<TGoal>(owningCase, fG, goal->GoalType, goal->Level, goal->Priority);
        copy->Utilities = goal->Utilities;
        copy->UpdateSummary();
        if (invert) {
            Mirror(*copy);
        }
        SetGoal(edit, perception, *fG, std::move(copy));
    }
    const TProspect* prospect = perception.ProspectOf(fF);
    if (prospect != nullptr && perception.ProspectOf(fG) == nullptr) {
        auto copy =
            std::make_unique<TProspect>(owningCase, fG, prospect->Level, prospect->Uncertainty);
        copy->Distribution = prospect->Distribution;
        copy->Vector = copy->Distribution.ToVector(owningCase);
        if (invert) {
            copy->Invert(owningCase);
        }
        SetProspect(edit, perception, *fG, std::move(copy));
    }
    const std::vector<TLink*> in = fF->InLinks;
    for (const TLink* link : in) {
        if (link->FromFiP->Factor != &into && !Linked(perception, link->FromFiP, fG)) {
            AddLink(edit, perception, CopiedLink(owningCase, *link, link->FromFiP, fG, invert));
        }
    }
    const std::vector<TLink*> out = fF->OutLinks;
    for (const TLink* link : out) {
        if (link->ToFiP->Factor != &into) {
            AddLink(edit, perception, CopiedLink(owningCase, *link, fG, link->ToFiP, invert));
        }
    }
    RemoveFiP(edit, perception, fF);
    Select(edit, perception, {});
}

}  // namespace

bool ChangeFactor(TEdit& edit, TCase& owningCase, TFactor& factor, std::string_view name,
                  TActor* owner, bool isAction) {
    const std::string bare = Trim(name);
    if (bare.empty()) {
        return false;
    }
    // Made apart, so that a refused name takes the owner and kind back with it.
    TEdit change("Change " + KindWord(&factor));
    const bool becomesAction = owner != nullptr && isAction && !factor.IsAction;
    Disown(change, factor);
    if (owner != nullptr) {
        change.Set(factor.Owner, owner);
        change.Set(factor.IsAction, isAction);
        change.AppendRef(isAction ? owner->Actions : owner->Attributes, &factor);
        if (isAction) {
            change.Set(factor.IsStock, false);
        }
    }
    const std::string full = owner != nullptr ? bare + " [" + owner->ShortName + "]" : bare;
    if (full != factor.Name && !RenameFactor(change, owningCase, factor, full)) {
        change.Undo();
        return false;
    }
    LayOutBox(change, factor);
    change.TreeChanged = true;
    const int removed = becomesAction ? RemoveGoalsOn(change, owningCase, factor) : 0;
    owningCase.ForEachPerception([&](TPerception& perception) {
        if (perception.FindFiP(&factor) != nullptr) {
            change.Invalidate(perception, true);
        }
    });
    edit.NameIfUnnamed(change.Name);
    edit.Absorb(std::move(change));
    if (removed > 0) {
        owningCase.Messages().ShowWarning("Actions can never be goals: " + std::to_string(removed) +
                                          (removed == 1 ? " goal" : " goals") + " removed");
    }
    return true;
}

void MergeFactors(TEdit& edit, TCase& owningCase, TFactor& from, TFactor& into, bool invert) {
    if (&from == &into) {
        return;
    }
    edit.NameIfUnnamed("Merge factors");
    owningCase.ForEachPerception([&](TPerception& perception) {
        MergeIn(edit, owningCase, perception, from, into, invert);
    });
    DeleteFactor(edit, owningCase, &from);
}

void SetTag(TEdit& edit, const std::vector<TConcept*>& targets, TTag* tag, bool add) {
    for (TConcept* target : targets) {
        const bool has =
            std::find(target->Tags.begin(), target->Tags.end(), tag) != target->Tags.end();
        if (add == has) {
            continue;
        }
        edit.NameIfUnnamed(add ? "Tag" : "Untag");
        if (add) {
            edit.AppendRef(target->Tags, tag);
        } else {
            edit.RemoveRef(target->Tags, tag);
        }
        // The tree shows every concept's tags beside its name.
        edit.TreeChanged = true;
        if (target->Kind == TConceptKind::ckGroup) {
            auto* group = static_cast<TGroup*>(target);
            const std::vector<std::string> before = group->Comment;
            group->UpdateDescription();
            edit.Changed(group->Comment, before);
        }
    }
}

}  // namespace kavo
