#include "model/TPerception.h"

#include <algorithm>
#include <cmath>

#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "model/TPseudoGroup.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

template <typename T>
int IndexIn(const std::vector<std::unique_ptr<T>>& list, const T* item) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

template <typename T>
void EraseItem(std::vector<std::unique_ptr<T>>& list, const T* item) {
    std::erase_if(list, [item](const auto& entry) { return entry.get() == item; });
}

std::int32_t Scaled(std::int32_t coordinate, double scale) {
    // Halves go to the even neighbour, as rounding does everywhere in the program.
    return static_cast<std::int32_t>(std::nearbyint(coordinate * scale));
}

}  // namespace

TPerception::TPerception(TArena* analystViewOf) : Owner(analystViewOf) {
    Rationality = Case()->DefaultRationality;
    CreateStrategies();
}

TPerception::TPerception(TAiA* perceiver) : Owner(perceiver) {
    Rationality = Case()->DefaultRationality;
    CreateStrategies();
}

TPerception::TPerception(TPseudoGroup* assembledFor) : Owner(assembledFor) {
    Rationality = Case()->DefaultRationality;
    CreateStrategies();
}

TPerception::~TPerception() {
    // Results refer to everything else; goals, prospects and links refer to FiPs.
    ClearResults();
    Selection.clear();
    Goals.clear();
    Prospects.clear();
    Links.clear();
    FiPs.clear();
}

TArena* TPerception::ArenaOwner() const {
    const auto* owner = std::get_if<TArena*>(&Owner);
    return owner != nullptr ? *owner : nullptr;
}

TAiA* TPerception::AiAOwner() const {
    const auto* owner = std::get_if<TAiA*>(&Owner);
    return owner != nullptr ? *owner : nullptr;
}

TPseudoGroup* TPerception::GroupOwner() const {
    const auto* owner = std::get_if<TPseudoGroup*>(&Owner);
    return owner != nullptr ? *owner : nullptr;
}

TCase* TPerception::Case() const {
    if (const TArena* arena = ArenaOwner()) {
        return arena->Case;
    }
    if (const TAiA* record = AiAOwner()) {
        return record->Arena->Case;
    }
    return GroupOwner()->Case;
}

std::string TPerception::OwnerName() const {
    if (const TPseudoGroup* group = GroupOwner()) {
        return "group " + group->Caption;
    }
    if (const TAiA* record = AiAOwner()) {
        return record->Actor->Name;
    }
    return "*Analyst view";
}

void TPerception::CreateStrategies() {
    DefaultStrategy = std::make_unique<TStrategy>(this, Rationality);
    BestStrategy = std::make_unique<TStrategy>(this, Rationality);
    ChosenStrategy = std::make_unique<TStrategy>(this, Rationality);
}

void TPerception::ClearResults() {
    InvalidateResults();
    Impacts.clear();
    Cycles.clear();
    Paths.clear();
    Order.clear();
    DelayedLinks.clear();
    UncertainItems.clear();
    CycleIndex = -1;
    for (TStrategy* strategy : {DefaultStrategy.get(), BestStrategy.get(), ChosenStrategy.get()}) {
        if (strategy != nullptr) {
            strategy->Tactics.clear();
            strategy->Reset();
        }
    }
}

TFiP* TPerception::FindFiP(const TConcept* item) const {
    for (const auto& fip : FiPs) {
        if (fip->Factor == item) {
            return fip.get();
        }
    }
    return nullptr;
}

TLink* TPerception::FindLink(const TConcept* cause, const TConcept* effect, bool report) const {
    for (const auto& link : Links) {
        if (link->FromFiP->Factor == cause && link->ToFiP->Factor == effect) {
            return link.get();
        }
    }
    if (report) {
        Case()->Messages().ShowError("Link not found");
    }
    return nullptr;
}

TGoal* TPerception::GoalOf(const TFiP* fip) const {
    for (const auto& goal : Goals) {
        if (goal->FiP == fip) {
            return goal.get();
        }
    }
    return nullptr;
}

TProspect* TPerception::ProspectOf(const TFiP* fip) const {
    for (const auto& prospect : Prospects) {
        if (prospect->FiP == fip) {
            return prospect.get();
        }
    }
    return nullptr;
}

bool TPerception::IsFreeAction(const TFiP* fip) const {
    return fip->Factor->IsAction && fip->InLinks.empty() && ProspectOf(fip) == nullptr;
}

void TPerception::Changed(TPerceptionItem selected) {
    Selection.assign(1, selected);
    Changed();
}

void TPerception::Changed() {
    Case()->Modified = true;
    InvalidateResults();
}

void TPerception::Deselect(TPerceptionItem item) {
    std::erase(Selection, item);
}

int TPerception::Add(std::unique_ptr<TFiP> fip) {
    if (!fip) {
        return -1;
    }
    TFiP* existing = FindFiP(fip->Factor);
    if (existing == nullptr) {
        fip->Perception = this;
        FiPs.push_back(std::move(fip));
        Changed(FiPs.back().get());
        return static_cast<int>(FiPs.size()) - 1;
    }
    // Whatever was attached to the dropped FiP replaces what the existing one had.
    const TFiP* dropped = fip.get();
    const auto moveOnto = [&](auto& list) {
        const bool brought = std::any_of(
            list.begin(), list.end(), [dropped](const auto& item) { return item->FiP == dropped; });
        if (!brought) {
            return;
        }
        std::erase_if(list, [existing](const auto& item) { return item->FiP == existing; });
        for (const auto& item : list) {
            if (item->FiP == dropped) {
                item->FiP = existing;
            }
        }
    };
    moveOnto(Goals);
    moveOnto(Prospects);
    Changed(existing);
    return IndexIn(FiPs, existing);
}

int TPerception::Add(std::unique_ptr<TLink> link) {
    if (!link) {
        return -1;
    }
    for (const auto& existing : Links) {
        if (existing->FromFiP == link->FromFiP && existing->ToFiP == link->ToFiP) {
            Changed(existing.get());
            return IndexIn(Links, existing.get());
        }
    }
    link->FromFiP->OutLinks.push_back(link.get());
    link->ToFiP->InLinks.push_back(link.get());
    Links.push_back(std::move(link));
    Changed(Links.back().get());
    return static_cast<int>(Links.size()) - 1;
}

int TPerception::Add(std::unique_ptr<TGoal> goal) {
    if (!goal) {
        return -1;
    }
    TFiP* fip = goal->FiP;
    Goals.push_back(std::move(goal));
    if (fip != nullptr) {
        Changed(fip);
    } else {
        Changed();
    }
    return static_cast<int>(Goals.size()) - 1;
}

int TPerception::Add(std::unique_ptr<TProspect> prospect) {
    if (!prospect) {
        return -1;
    }
    TFiP* fip = prospect->FiP;
    Prospects.push_back(std::move(prospect));
    if (fip != nullptr) {
        Changed(fip);
    } else {
        Changed();
    }
    return static_cast<int>(Prospects.size()) - 1;
}

void TPerception::Remove(TFiP* fip) {
    if (IndexIn(FiPs, fip) < 0) {
        return;
    }
    Deselect(fip);
    ClearResults();
    std::erase_if(Goals, [fip](const auto& goal) { return goal->FiP == fip; });
    std::erase_if(Prospects, [fip](const auto& prospect) { return prospect->FiP == fip; });
    while (!fip->InLinks.empty()) {
        Remove(fip->InLinks.back());
    }
    while (!fip->OutLinks.empty()) {
        Remove(fip->OutLinks.back());
    }
    EraseItem(FiPs, fip);
    Changed();
}

void TPerception::Remove(TLink* link) {
    if (IndexIn(Links, link) < 0) {
        return;
    }
    Deselect(link);
    ClearResults();
    std::erase(link->FromFiP->OutLinks, link);
    std::erase(link->ToFiP->InLinks, link);
    EraseItem(Links, link);
    Changed();
}

void TPerception::Remove(TGoal* goal) {
    if (IndexIn(Goals, goal) < 0) {
        return;
    }
    ClearResults();
    EraseItem(Goals, goal);
    Changed();
}

void TPerception::Remove(TProspect* prospect) {
    if (IndexIn(Prospects, prospect) < 0) {
        return;
    }
    ClearResults();
    EraseItem(Prospects, prospect);
    Changed();
}

void TPerception::ApplyDefaultActionRange() {
    const TCase* owningCase = Case();
    for (const auto& fip : FiPs) {
        if (fip->Factor->IsAction) {
            fip->ActionRange =
                IsFreeAction(fip.get()) ? owningCase->DefaultActionRange : kFullActionRange;
            fip->UpdateFeasibleLevels();
        }
    }
}

void TPerception::ApplyCaseSettings() {
    const TCase& current = *Case();
    // A scale of 0 means no font was applied yet; nothing is rescaled then.
    const bool scaleX = current.FontScaleX > 0 && current.FontScaleX != 1;
    const bool scaleY = current.FontScaleY > 0 && current.FontScaleY != 1;
    for (const auto& fip : FiPs) {
        if (scaleX) {
            fip->X = Scaled(fip->X, current.FontScaleX);
        }
        if (scaleY) {
            fip->Y = Scaled(fip->Y, current.FontScaleY);
        }
        if (TGoal* goal = GoalOf(fip.get())) {
            goal->TakeUtilitiesFromTable(current);
        }
        if (TProspect* prospect = ProspectOf(fip.get())) {
            prospect->Distribution.SetFromVector(current, prospect->Vector);
        }
    }
    for (const auto& link : Links) {
        link->Distribution.SetFromVector(current, link->Vector);
    }
    Rationality = current.DefaultRationality;
    InvalidateResults();
}

}  // namespace kavo
