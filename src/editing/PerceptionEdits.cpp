#include "editing/PerceptionEdits.h"

#include <algorithm>
#include <string>

#include "diagram/PerceptionDrawing.h"
#include "diagram/TLayout.h"
#include "editing/TEdit.h"
#include "editing/TFieldWatch.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "reasoning/Merge.h"

namespace kavo {

namespace {

// FiPs moved by a distance; the steps of one drag add up to one.
class TMoveChange : public TChange {
  public:
    TMoveChange(std::vector<TFiP*> fips, int dx, int dy) : FiPs(std::move(fips)), Dx(dx), Dy(dy) {}
    void Apply(bool forward) override {
        const int sign = forward ? 1 : -1;
        for (TFiP* fip : FiPs) {
            fip->X += sign * Dx;
            fip->Y += sign * Dy;
        }
    }
    bool Absorb(TChange& later) override {
        auto* move = dynamic_cast<TMoveChange*>(&later);
        if (move == nullptr || move->FiPs != FiPs) {
            return false;
        }
        Dx += move->Dx;
        Dy += move->Dy;
        return true;
    }

  private:
    std::vector<TFiP*> FiPs;
    int Dx;
    int Dy;
};

template <typename T>
bool Holds(const std::vector<std::unique_ptr<T>>& list, const T* item) {
    return std::any_of(list.begin(), list.end(),
                       [item](const auto& entry) { return entry.get() == item; });
}

// The edit is about the perception, and its cached results go (clear: with what refers to items).
void Touch(TEdit& edit, TPerception& perception, bool clear) {
    edit.Focus = &perception;
    edit.Invalidate(perception, clear);
}

void Deselect(TEdit& edit, TPerception& perception, TPerceptionItem item) {
    if (std::find(perception.Selection.begin(), perception.Selection.end(), item) !=
        perception.Selection.end()) {
        std::vector<TPerceptionItem> rest = perception.Selection;
        std::erase(rest, item);
        edit.Set(perception.Selection, std::move(rest));
    }
}

template <typename T>
void RemoveAllOn(TEdit& edit, std::vector<std::unique_ptr<T>>& list, const TFiP* fip) {
    std::vector<T*> doomed;
    for (const auto& item : list) {
        if (item->FiP == fip) {
            doomed.push_back(item.get());
        }
    }
    for (T* item : doomed) {
        edit.Remove(list, item);
    }
}

void SetRange(TEdit& edit, TFiP& fip, const TActionRange& range, int chosen) {
    edit.Set(fip.ActionRange, range);
    edit.Set(fip.ChosenLevel, static_cast<std::int16_t>(chosen));
    const auto levels = fip.FeasibleLevels;
    const int count = fip.FeasibleCount;
    fip.UpdateFeasibleLevels();
    edit.Changed(fip.FeasibleLevels, levels);
    edit.Changed(fip.FeasibleCount, count);
}

TArena* ArenaOf(const TPerception& perception) {
    if (TArena* arena = perception.ArenaOwner()) {
        return arena;
    }
    const TAiA* record = perception.AiAOwner();
    return record != nullptr ? record->Arena : nullptr;
}

}  // namespace

void Select(TEdit& edit, TPerception& perception, std::vector<TPerceptionItem> items) {
    edit.Set(perception.Selection, std::move(items));
}

void RemoveFiP(TEdit& edit, TPerception& perception, TFiP* fip) {
    if (!Holds(perception.FiPs, fip)) {
        return;
    }
    edit.NameIfUnnamed("Remove " + KindWord(fip->Factor));
    Touch(edit, perception, true);
    Deselect(edit, perception, fip);
    RemoveAllOn(edit, perception.Goals, fip);
    RemoveAllOn(edit, perception.Prospects, fip);
    while (!fip->InLinks.empty()) {
        RemoveLink(edit, perception, fip->InLinks.back());
    }
    while (!fip->OutLinks.empty()) {
        RemoveLink(edit, perception, fip->OutLinks.back());
    }
    edit.Remove(perception.FiPs, fip);
}

void RemoveLink(TEdit& edit, TPerception& perception, TLink* link) {
    if (!Holds(perception.Links, link)) {
        return;
    }
    edit.NameIfUnnamed("Remove link");
    Touch(edit, perception, true);
    Deselect(edit, perception, link);
    edit.RemoveRef(link->FromFiP->OutLinks, link);
    edit.RemoveRef(link->ToFiP->InLinks, link);
    edit.Remove(perception.Links, link);
}

void RemoveGoal(TEdit& edit, TPerception& perception, TGoal* goal) {
    if (!Holds(perception.Goals, goal)) {
        return;
    }
    edit.NameIfUnnamed("Remove goal");
    Touch(edit, perception, true);
    edit.Remove(perception.Goals, goal);
}

void RemoveProspect(TEdit& edit, TPerception& perception, TProspect* prospect) {
    if (!Holds(perception.Prospects, prospect)) {
        return;
    }
    edit.NameIfUnnamed("Remove prospect");
    Touch(edit, perception, true);
    edit.Remove(perception.Prospects, prospect);
}

void RemoveItems(TEdit& edit, TPerception& perception, const std::vector<TPerceptionItem>& items) {
    std::vector<TPerceptionItem> once;
    for (const TPerceptionItem& item : items) {
        if (std::find(once.begin(), once.end(), item) == once.end()) {
            once.push_back(item);
        }
    }
    const std::size_t count = once.size();
    edit.NameIfUnnamed(count == 1 ? "Remove item" : "Remove " + std::to_string(count) + " items");
    for (auto item = once.rbegin(); item != once.rend(); ++item) {
        if (TFiP* const* fip = std::get_if<TFiP*>(&*item)) {
            RemoveFiP(edit, perception, *fip);
        } else {
            RemoveLink(edit, perception, std::get<TLink*>(*item));
        }
    }
}

TFiP* AddFiP(TEdit& edit, TPerception& perception, std::unique_ptr<TFiP> fip,
             std::unique_ptr<TGoal> goal, std::unique_ptr<TProspect> prospect) {
    Touch(edit, perception, true);
    TFiP* shown = perception.FindFiP(fip->Factor);
    if (shown == nullptr) {
        edit.NameIfUnnamed("Add " + KindWord(fip->Factor));
        fip->Perception = &perception;
        shown = edit.Append(perception.FiPs, std::move(fip));
    }
    if (goal) {
        RemoveAllOn(edit, perception.Goals, shown);
        goal->FiP = shown;
        edit.Append(perception.Goals, std::move(goal));
    }
    if (prospect) {
        RemoveAllOn(edit, perception.Prospects, shown);
        prospect->FiP = shown;
        edit.Append(perception.Prospects, std::move(prospect));
    }
    Select(edit, perception, {shown});
    return shown;
}

TLink* AddLink(TEdit& edit, TPerception& perception, std::unique_ptr<TLink> link) {
    Touch(edit, perception, true);
    for (const auto& existing : perception.Links) {
        if (existing->FromFiP == link->FromFiP && existing->ToFiP == link->ToFiP) {
            Select(edit, perception, {existing.get()});
            return existing.get();
        }
    }
    edit.NameIfUnnamed("Add link");
    TLink* added = edit.Append(perception.Links, std::move(link));
    edit.AppendRef(added->FromFiP->OutLinks, added);
    edit.AppendRef(added->ToFiP->InLinks, added);
    Select(edit, perception, {added});
    return added;
}

void SetLinkValues(TEdit& edit, TPerception& perception, TLink& link, const TLink& values) {
    edit.NameIfUnnamed("Change link");
    Touch(edit, perception, true);
    edit.Set(link.Level, values.Level);
    edit.Set(link.Uncertainty, values.Uncertainty);
    edit.Set(link.Vector, values.Vector);
    edit.Set(link.Distribution, values.Distribution);
    Select(edit, perception, {&link});
}

void SetGoal(TEdit& edit, TPerception& perception, TFiP& fip, std::unique_ptr<TGoal> goal) {
    edit.NameIfUnnamed(goal ? "Define goal" : "Remove goal");
    Touch(edit, perception, true);
    RemoveAllOn(edit, perception.Goals, &fip);
    if (goal) {
        goal->FiP = &fip;
        edit.Append(perception.Goals, std::move(goal));
    }
    Select(edit, perception, {&fip});
}

void SetProspect(TEdit& edit, TPerception& perception, TFiP& fip,
                 std::unique_ptr<TProspect> prospect) {
    edit.NameIfUnnamed(prospect ? "Define prospect" : "Remove prospect");
    Touch(edit, perception, true);
    RemoveAllOn(edit, perception.Prospects, &fip);
    if (prospect) {
        prospect->FiP = &fip;
        edit.Append(perception.Prospects, std::move(prospect));
    }
    Select(edit, perception, {&fip});
}

bool ClearGoalsAndProspects(TEdit& edit, TPerception& perception) {
    bool removed = false;
    for (const TPerceptionItem& item : perception.Selection) {
        const TFiP* const* fip = std::get_if<TFiP*>(&item);
        if (fip == nullptr ||
            (perception.GoalOf(*fip) == nullptr && perception.ProspectOf(*fip) == nullptr)) {
            continue;
        }
        edit.NameIfUnnamed("Erase goals and prospects");
        Touch(edit, perception, true);
        RemoveAllOn(edit, perception.Goals, *fip);
        RemoveAllOn(edit, perception.Prospects, *fip);
        removed = true;
    }
    return removed;
}

void SetOperator(TEdit& edit, TPerception& perception, TFiP& fip, TOperator op) {
    if (fip.Operator == op) {
        return;
    }
    edit.NameIfUnnamed("Change aggregation");
    Touch(edit, perception, false);
    edit.Set(fip.Operator, op);
}

TPoint MoveFiPs(TEdit& edit, TPerception& perception, const std::vector<TFiP*>& fips, int dx,
                int dy) {
    edit.NameIfUnnamed(fips.size() == 1 ? "Move " + KindWord(fips.front()->Factor)
                                        : "Move " + std::to_string(fips.size()) + " factors");
    edit.Focus = &perception;
    if ((dx != 0 || dy != 0) && !fips.empty()) {
        for (TFiP* fip : fips) {
            fip->X += dx;
            fip->Y += dy;
        }
        edit.Record(std::make_unique<TMoveChange>(fips, dx, dy));
    }
    return KeepInArea(edit, perception);
}

TPoint KeepInArea(TEdit& edit, TPerception& perception) {
    const TPoint shift = AreaShift(perception);
    if (shift == TPoint{}) {
        return shift;
    }
    std::vector<TFiP*> all;
    for (const auto& fip : perception.FiPs) {
        fip->X += shift.X;
        fip->Y += shift.Y;
        all.push_back(fip.get());
    }
    edit.Record(std::make_unique<TMoveChange>(std::move(all), shift.X, shift.Y));
    return shift;
}

void LayOutStep(TEdit& edit, TPerception& perception, const TLayout& layout, TRandom& random) {
    edit.NameIfUnnamed("Automatic layout");
    edit.Focus = &perception;
    TFieldWatch watch;
    for (const auto& fip : perception.FiPs) {
        watch.Watch(fip->X);
        watch.Watch(fip->Y);
    }
    layout.Step(perception, random);
    watch.RecordChanges(edit);
}

void PressRangeCell(TEdit& edit, TPerception& perception, TFiP& fip, int level, bool choose,
                    bool everywhere) {
    TActionRange range = fip.ActionRange;
    int chosen = fip.ChosenLevel;
    if (choose) {
        range[level] = true;
        chosen = chosen == level ? kNoLevel : level;
    } else {
        range[level] = !range[level];
        // The case file cannot carry a chosen level outside the range.
        if (!range[level] && chosen == level) {
            chosen = kNoLevel;
        }
    }
    edit.NameIfUnnamed(choose ? "Choose level" : "Change action range");
    Touch(edit, perception, false);
    SetRange(edit, fip, range, chosen);
    TArena* arena = everywhere ? ArenaOf(perception) : nullptr;
    if (arena == nullptr) {
        return;
    }
    const auto spread = [&](TPerception& other) {
        Touch(edit, other, false);
        TFiP* same = other.FindFiP(fip.Factor);
        if (same != nullptr && same != &fip) {
            TActionRange otherRange = same->ActionRange;
            otherRange[level] = range[level];
            SetRange(edit, *same, otherRange, chosen);
        }
    };
    spread(*arena->AnalystView);
    for (const auto& record : arena->Actors) {
        spread(*record->Perception);
    }
    edit.Focus = &perception;
}

void MergeIntoAnalystView(TEdit& edit, TArena& arena) {
    TPerception& view = *arena.AnalystView;
    edit.NameIfUnnamed("Merge into analyst view");
    Touch(edit, view, true);
    Select(edit, view, {});
    while (!view.Goals.empty()) {
        RemoveGoal(edit, view, view.Goals.back().get());
    }
    while (!view.Prospects.empty()) {
        RemoveProspect(edit, view, view.Prospects.back().get());
    }
    while (!view.Links.empty()) {
        RemoveLink(edit, view, view.Links.back().get());
    }
    while (!view.FiPs.empty()) {
        RemoveFiP(edit, view, view.FiPs.back().get());
    }
    // The merge is made in a perception of the arena's own, whose items then move into the view as
    // recorded steps. Making it marks the case modified, which only the edit may do.
    TCase& owningCase = *view.Case();
    const bool modified = owningCase.Modified;
    TPerception merged(&arena);
    merged.Extent = view.Extent;
    for (const auto& record : arena.Actors) {
        MergeFrom(merged, *record->Perception, false);
    }
    NormalizeUncertainties(merged);
    owningCase.Modified = modified;
    for (auto& fip : merged.FiPs) {
        fip->Perception = &view;
        edit.Append(view.FiPs, std::move(fip));
    }
    for (auto& link : merged.Links) {
        edit.Append(view.Links, std::move(link));
    }
    for (auto& prospect : merged.Prospects) {
        edit.Append(view.Prospects, std::move(prospect));
    }
    merged.FiPs.clear();
    merged.Links.clear();
    merged.Prospects.clear();
    edit.Set(view.Extent, merged.Extent);
    edit.Set(view.Rationality, std::uint8_t{0});
}

}  // namespace kavo
