#include "reasoning/Merge.h"

#include <algorithm>
#include <memory>

#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo {

namespace {

void Extend(std::vector<std::string>& comment, const std::vector<std::string>& more) {
    comment.insert(comment.end(), more.begin(), more.end());
}

// Whether the perception is the analyst view of a simulation round, whose actions only their
// actors move.
bool IsRoundView(const TPerception& perception) {
    const TArena* arena = perception.ArenaOwner();
    return arena != nullptr && arena->Name.find("*Round") != std::string::npos;
}

TFiP* MergeFiP(TPerception& target, const TFiP& q, bool withGoals) {
    if (TFiP* p = target.FindFiP(q.Factor)) {
        Extend(p->Comment, q.Comment);
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            p->ActionRange[level] = p->ActionRange[level] || q.ActionRange[level];
        }
        p->UpdateFeasibleLevels();
        if (p->ChosenLevel == kNoLevel) {
            p->ChosenLevel = q.ChosenLevel;
        }
        if (p->Operator != q.Operator) {
            p->Operator = TOperator::opAdd;
        }
        return p;
    }
    auto p = std::make_unique<TFiP>(q.Factor);
    p->Operator = q.Operator;
    p->ActionRange = q.ActionRange;
    p->FeasibleLevels = q.FeasibleLevels;
    p->FeasibleCount = q.FeasibleCount;
    p->X = q.X;
    p->Y = q.Y;
    p->Comment = q.Comment;
    if (withGoals) {
        p->ChosenLevel = q.ChosenLevel;
    }
    const int index = target.Add(std::move(p));
    return target.FiPs[static_cast<std::size_t>(index)].get();
}

}  // namespace

void MergeFrom(TPerception& target, const TPerception& source, bool withGoals) {
    const TCase& current = *target.Case();
    for (const auto& q : source.FiPs) {
        TFiP* p = MergeFiP(target, *q, withGoals);
        const TGoal* goal = source.GoalOf(q.get());
        if (withGoals && goal != nullptr) {
            auto copy = std::make_unique<TGoal>(*goal);
            copy->FiP = p;
            target.Add(std::move(copy));
        }
        if (const TProspect* prospect = source.ProspectOf(q.get())) {
            if (TProspect* existing = target.ProspectOf(p)) {
                existing->Distribution.Cumulate(current, prospect->Distribution);
            } else {
                auto copy = std::make_unique<TProspect>(*prospect);
                copy->FiP = p;
                target.Add(std::move(copy));
            }
        }
    }
    const bool roundView = IsRoundView(target);
    for (const auto& link : source.Links) {
        if (roundView && link->ToFiP->Factor->IsAction) {
            continue;
        }
        if (TLink* existing = target.FindLink(link->FromFiP->Factor, link->ToFiP->Factor)) {
            Extend(existing->Comment, link->Comment);
            existing->Distribution.Cumulate(current, link->Distribution);
        } else {
            link->CopyTo(target);
        }
    }
    target.Selection.clear();
    target.ClearResults();
    const TRect& extent = source.Extent;
    target.Extent.Right = std::max(target.Extent.Right, extent.Right);
    target.Extent.Bottom = std::max(target.Extent.Bottom, extent.Bottom);
    target.Rationality = 0;
}

void NormalizeUncertainties(TPerception& perception) {
    const TCase& current = *perception.Case();
    for (const auto& prospect : perception.Prospects) {
        prospect->Distribution = prospect->Distribution.Normalized(current);
        prospect->Summarize(current);
    }
    for (const auto& link : perception.Links) {
        link->Distribution = link->Distribution.Normalized(current);
        link->Summarize(current);
    }
    perception.InvalidateResults();
}

void MergeIntoAnalystView(TArena& arena) {
    TPerception& view = *arena.AnalystView;
    while (!view.Goals.empty()) {
        view.Remove(view.Goals.back().get());
    }
    while (!view.Prospects.empty()) {
        view.Remove(view.Prospects.back().get());
    }
    while (!view.Links.empty()) {
        view.Remove(view.Links.back().get());
    }
    while (!view.FiPs.empty()) {
        view.Remove(view.FiPs.back().get());
    }
    for (const auto& record : arena.Actors) {
        MergeFrom(view, *record->Perception, false);
    }
    NormalizeUncertainties(view);
}

void CopyPerception(const TPerception& source, TPerception& target) {
    for (const auto& fip : source.FiPs) {
        fip->CopyTo(target);
    }
    for (const auto& link : source.Links) {
        link->CopyTo(target);
    }
    for (const auto& goal : source.Goals) {
        goal->CopyTo(target);
    }
    for (const auto& prospect : source.Prospects) {
        prospect->CopyTo(target);
    }
}

}  // namespace kavo
