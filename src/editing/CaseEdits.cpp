#include "editing/CaseEdits.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "editing/TFieldWatch.h"
#include "model/Names.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TCaseOptions.h"
#include "model/TCommentedObject.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "model/TTag.h"

namespace kavo {

namespace {

// Two items of an owning list that changed places.
template <typename T>
class TSwapChange : public TChange {
  public:
    TSwapChange(std::vector<std::unique_ptr<T>>& list, std::size_t first, std::size_t second)
        : List(&list), First(first), Second(second) {}
    void Apply(bool) override { std::swap((*List)[First], (*List)[Second]); }

  private:
    std::vector<std::unique_ptr<T>>* List;
    std::size_t First;
    std::size_t Second;
};

// Renames with the list's rules (its warnings included) and records the new name and place.
template <typename T>
bool RenameInList(TEdit& edit, TConceptList<T>& list, T& item, std::string_view name,
                  TMessages& messages) {
    const std::string oldName = item.Name;
    const int from = list.IndexOf(&item);
    const int to = list.RenameIn(item, name, messages);
    if (to < 0) {
        return false;
    }
    edit.Changed(item.Name, oldName);
    if (from >= 0 && from != to) {
        edit.Record(std::make_unique<TConceptMoveChange<T>>(list, &item, from, to));
    }
    edit.TreeChanged = true;
    return true;
}

// Records the concept that the model's find or create put into the list, if it is new.
template <typename T>
T* Created(TEdit& edit, TConceptList<T>& list, int sizeBefore, T* found) {
    if (found != nullptr && list.Size() > sizeBefore) {
        edit.ConceptInserted(list, found);
    }
    return found;
}

template <typename T>
void Untag(TEdit& edit, const TConceptList<T>& list, TTag* tag) {
    for (const auto& item : list) {
        while (edit.RemoveRef(item->Tags, tag)) {
        }
    }
}

void UpdateGroupDescriptions(TEdit& edit, TCase& owningCase) {
    for (const auto& group : owningCase.GroupList) {
        const std::vector<std::string> before = group->Comment;
        group->UpdateDescription();
        edit.Changed(group->Comment, before);
    }
}

void RemoveFiPsWhere(TEdit& edit, TCase& owningCase, const auto& condition) {
    owningCase.ForEachPerception([&](TPerception& perception) {
        std::vector<TFiP*> doomed;
        for (const auto& fip : perception.FiPs) {
            if (condition(fip->Factor)) {
                doomed.push_back(fip.get());
            }
        }
        for (TFiP* fip : doomed) {
            RemoveFiP(edit, perception, fip);
        }
    });
}

void WatchOptions(TFieldWatch& watch, TCase& c) {
    watch.Watch(c.ChangeLevels);
    watch.Watch(c.LinkMultipliers);
    watch.Watch(c.UtilityLevels);
    watch.Watch(c.MaxUtility);
    watch.Watch(c.AutofocusThreshold);
    watch.Watch(c.AutofocusResolution);
    watch.Watch(c.Evaluations);
    watch.Watch(c.MaxWidth);
    watch.Watch(c.MaxHeight);
    watch.Watch(c.DefaultActionRange);
    watch.Watch(c.RangeBarShown);
    watch.Watch(c.DefaultRationality);
    watch.Watch(c.Font);
    watch.Watch(c.FontScaleX);
    watch.Watch(c.FontScaleY);
    watch.Watch(c.RescaledCount);
    watch.Watch(c.SampleTextWidth);
    watch.Watch(c.SampleTextHeight);
    watch.Watch(c.SampleFromDistributions);
    watch.Watch(c.AdaptGoals);
    watch.Watch(c.MaintainActionRange);
    watch.Watch(c.RandomSeed);
    watch.Watch(c.Context().Random.State);
    watch.Watch(c.BaseLevel);
    watch.Watch(c.StdUtilityVectors);
    watch.Watch(c.NegUtilityVectors);
}

void WatchBox(TFieldWatch& watch, TFactor& factor) {
    watch.Watch(factor.TextWidth);
    watch.Watch(factor.BoxWidth);
    watch.Watch(factor.BoxHeight);
    watch.Watch(factor.LabelLines);
}

// What the case's settings decide in a perception: positions (rescaled with the font), action
// ranges, goal utilities, distributions and the rationality.
void WatchPerception(TFieldWatch& watch, TPerception& perception) {
    for (const auto& fip : perception.FiPs) {
        watch.Watch(fip->X);
        watch.Watch(fip->Y);
        watch.Watch(fip->ActionRange);
        watch.Watch(fip->ChosenLevel);
        watch.Watch(fip->FeasibleLevels);
        watch.Watch(fip->FeasibleCount);
    }
    for (const auto& goal : perception.Goals) {
        watch.Watch(goal->Utilities);
        watch.Watch(goal->LowUtility);
        watch.Watch(goal->HighUtility);
        watch.Watch(goal->Level);
    }
    for (const auto& prospect : perception.Prospects) {
        watch.Watch(prospect->Distribution);
    }
    for (const auto& link : perception.Links) {
        watch.Watch(link->Distribution);
    }
    watch.Watch(perception.Rationality);
}

}  // namespace

bool RenameCase(TEdit& edit, TCase& owningCase, std::string_view name) {
    std::string trimmed = Trim(name);
    if (trimmed.empty()) {
        return false;
    }
    edit.NameIfUnnamed("Rename case");
    edit.Set(owningCase.Name, std::move(trimmed));
    edit.TreeChanged = true;
    return true;
}

void SetComment(TEdit& edit, TCommentedObject& item, std::string_view text) {
    const std::string trimmed = Trim(text);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < trimmed.size()) {
        std::size_t end = trimmed.find('\n', start);
        if (end == std::string::npos) {
            end = trimmed.size();
        }
        std::string line = trimmed.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    edit.NameIfUnnamed("Edit comment");
    edit.Set(item.Comment, std::move(lines));
}

bool MovePriority(TEdit& edit, TArena& arena, TAiA& record, int step) {
    auto& actors = arena.Actors;
    for (std::size_t i = 0; i < actors.size(); ++i) {
        TAiA& other = *actors[i];
        if (other.Priority == record.Priority + step && &other != &record) {
            edit.NameIfUnnamed(step < 0 ? "Higher priority" : "Lower priority");
            const int mine = record.Priority;
            edit.Set(record.Priority, other.Priority);
            edit.Set(other.Priority, mine);
            // The document lists a round's actors in the list's order and reads their order of
            // play from it, so the two places swap in the list as well.
            const auto own = static_cast<std::size_t>(
                std::find_if(actors.begin(), actors.end(),
                             [&record](const auto& item) { return item.get() == &record; }) -
                actors.begin());
            std::swap(actors[i], actors[own]);
            edit.Record(std::make_unique<TSwapChange<TAiA>>(actors, i, own));
            edit.TreeChanged = true;
            return true;
        }
    }
    return false;
}

bool RenameTag(TEdit& edit, TCase& owningCase, TTag& tag, std::string_view name) {
    if (owningCase.RefuseName(TConceptKind::ckTag, name, false) ||
        !RenameInList(edit, owningCase.TagList, tag, name, owningCase.Messages())) {
        return false;
    }
    edit.NameIfUnnamed("Rename tag");
    // Group descriptions list tag names in the order of the tag list.
    UpdateGroupDescriptions(edit, owningCase);
    return true;
}

bool RenameArena(TEdit& edit, TCase& owningCase, TArena& arena, std::string_view name) {
    if (owningCase.RefuseName(TConceptKind::ckArena, name, false) ||
        !RenameInList(edit, owningCase.ArenaList, arena, name, owningCase.Messages())) {
        return false;
    }
    edit.NameIfUnnamed("Rename arena");
    return true;
}

bool RenameGroup(TEdit& edit, TCase& owningCase, TGroup& group, std::string_view name) {
    if (owningCase.RefuseName(TConceptKind::ckGroup, name, false) ||
        !RenameInList(edit, owningCase.GroupList, group, name, owningCase.Messages())) {
        return false;
    }
    edit.NameIfUnnamed("Rename group");
    return true;
}

bool RenameFactor(TEdit& edit, TCase& owningCase, TFactor& factor, std::string_view name) {
    if (owningCase.RefuseName(TConceptKind::ckFactor, name, factor.Owner != nullptr) ||
        !RenameInList(edit, owningCase.FactorList, factor, name, owningCase.Messages())) {
        return false;
    }
    edit.NameIfUnnamed("Rename " + KindWord(&factor));
    LayOutBox(edit, factor);
    return true;
}

bool RenameActor(TEdit& edit, TCase& owningCase, TActor& actor, std::string_view name,
                 std::string_view shortName) {
    const std::string newName = Trim(name);
    std::string newShort = Trim(shortName);
    if (newName.empty()) {
        return false;
    }
    if (newShort.empty()) {
        newShort = newName;
    }
    if (owningCase.RefuseName(TConceptKind::ckActor, newName, false) ||
        owningCase.RefuseName(TConceptKind::ckActor, newShort, false)) {
        return false;
    }
    if (owningCase.ShortNameInUse(newShort, &actor)) {
        owningCase.Messages().ShowWarning("Short actor name already in use");
        return false;
    }
    edit.NameIfUnnamed("Rename actor");
    const bool renamed =
        RenameInList(edit, owningCase.ActorList, actor, newName, owningCase.Messages());
    edit.Set(actor.ShortName, newShort);
    std::vector<TFactor*> owned;
    for (const auto& factor : owningCase.FactorList) {
        if (factor->Owner == &actor) {
            owned.push_back(factor.get());
        }
    }
    for (TFactor* factor : owned) {
        edit.Set(factor->Name, BareName(factor->Name) + " [" + newShort + "]");
        LayOutBox(edit, *factor);
        edit.Resort(owningCase.FactorList, factor);
    }
    edit.TreeChanged = true;
    return renamed;
}

void SetTagColors(TEdit& edit, TTag& tag, std::uint32_t light, std::uint32_t mid,
                  std::uint32_t dark) {
    if (tag.LightColor == light && tag.MidColor == mid && tag.DarkColor == dark) {
        return;
    }
    edit.NameIfUnnamed("Change tag color");
    edit.Set(tag.LightColor, light);
    edit.Set(tag.MidColor, mid);
    edit.Set(tag.DarkColor, dark);
    // The tree draws the tags of every concept.
    edit.TreeChanged = true;
}

void DeleteTag(TEdit& edit, TCase& owningCase, TTag* tag) {
    edit.NameIfUnnamed("Delete tag");
    Untag(edit, owningCase.FactorList, tag);
    Untag(edit, owningCase.ActorList, tag);
    Untag(edit, owningCase.ArenaList, tag);
    Untag(edit, owningCase.GroupList, tag);
    edit.RemoveConcept(owningCase.TagList, tag);
    UpdateGroupDescriptions(edit, owningCase);
}

void DeleteFactor(TEdit& edit, TCase& owningCase, TFactor* factor) {
    edit.NameIfUnnamed("Delete " + KindWord(factor));
    RemoveFiPsWhere(edit, owningCase, [factor](const TFactor* shown) { return shown == factor; });
    if (factor->Owner != nullptr) {
        edit.RemoveRef(factor->Owner->Actions, factor);
        edit.RemoveRef(factor->Owner->Attributes, factor);
    }
    edit.RemoveConcept(owningCase.FactorList, factor);
}

void DeleteActor(TEdit& edit, TCase& owningCase, TActor* actor) {
    edit.NameIfUnnamed("Delete actor");
    RemoveFiPsWhere(edit, owningCase,
                    [actor](const TFactor* shown) { return shown->Owner == actor; });
    for (const auto& arena : owningCase.ArenaList) {
        std::vector<TAiA*> records;
        for (const auto& record : arena->Actors) {
            if (record->Actor == actor) {
                records.push_back(record.get());
            }
        }
        for (TAiA* record : records) {
            edit.Remove(arena->Actors, record);
        }
    }
    edit.TreeChanged = true;
    std::vector<TActorRelation*> relations;
    for (const auto& relation : owningCase.Relations) {
        if (relation->From == actor || relation->To == actor) {
            relations.push_back(relation.get());
        }
    }
    for (TActorRelation* relation : relations) {
        edit.Remove(owningCase.Relations, relation);
    }
    std::vector<TFactor*> owned;
    for (const auto& factor : owningCase.FactorList) {
        if (factor->Owner == actor) {
            owned.push_back(factor.get());
        }
    }
    for (TFactor* factor : owned) {
        edit.RemoveConcept(owningCase.FactorList, factor);
    }
    edit.RemoveConcept(owningCase.ActorList, actor);
}

void DeleteArena(TEdit& edit, TCase& owningCase, TArena* arena) {
    edit.NameIfUnnamed("Delete arena");
    edit.RemoveConcept(owningCase.ArenaList, arena);
}

void DeleteGroup(TEdit& edit, TCase& owningCase, TGroup* group) {
    edit.NameIfUnnamed("Delete group");
    edit.RemoveConcept(owningCase.GroupList, group);
}

void DeleteActorFromArena(TEdit& edit, TArena& arena, TAiA* record) {
    edit.NameIfUnnamed("Delete actor from arena");
    if (edit.Remove(arena.Actors, record)) {
        edit.TreeChanged = true;
    }
}

TTag* FindOrCreateTag(TEdit& edit, TCase& owningCase, std::string_view name) {
    const int size = owningCase.TagList.Size();
    edit.NameIfUnnamed("New tag");
    return Created(edit, owningCase.TagList, size, owningCase.FindOrCreateTag(name));
}

TArena* FindOrCreateArena(TEdit& edit, TCase& owningCase, std::string_view name) {
    const int size = owningCase.ArenaList.Size();
    edit.NameIfUnnamed("Add arena");
    return Created(edit, owningCase.ArenaList, size, owningCase.FindOrCreateArena(name));
}

TActor* FindOrCreateActor(TEdit& edit, TCase& owningCase, std::string_view name,
                          std::string_view shortName) {
    const int size = owningCase.ActorList.Size();
    edit.NameIfUnnamed("New actor");
    return Created(edit, owningCase.ActorList, size, owningCase.FindOrCreateActor(name, shortName));
}

TFactor* FindOrCreateFactor(TEdit& edit, TCase& owningCase, std::string_view name, bool isStock,
                            bool isAction, std::string_view shortName) {
    const int size = owningCase.FactorList.Size();
    TFactor* factor = owningCase.FindOrCreateFactor(name, isStock, isAction, shortName);
    if (factor == nullptr || owningCase.FactorList.Size() == size) {
        return factor;
    }
    edit.NameIfUnnamed("New " + KindWord(factor));
    edit.ConceptInserted(owningCase.FactorList, factor);
    if (factor->Owner != nullptr) {
        // The model appended the factor to its actor's list.
        edit.RefAppended(factor->IsAction ? factor->Owner->Actions : factor->Owner->Attributes);
    }
    return factor;
}

TAiA* AddActorToArena(TEdit& edit, TCase& owningCase, TArena& arena, std::string_view name,
                      std::string_view shortName) {
    const int actors = owningCase.ActorList.Size();
    const std::size_t records = arena.Actors.size();
    TAiA* record = owningCase.AddActorToArena(arena, name, shortName);
    if (record == nullptr) {
        return nullptr;
    }
    edit.NameIfUnnamed("Add actor to arena");
    Created(edit, owningCase.ActorList, actors, record->Actor);
    if (arena.Actors.size() > records) {
        edit.Appended(arena.Actors);
        edit.TreeChanged = true;
    }
    return record;
}

void ChangeOptions(TEdit& edit, TCase& owningCase, const TCaseOptions& options) {
    edit.NameIfUnnamed("Change options");
    TFieldWatch watch;
    WatchOptions(watch, owningCase);
    for (const auto& factor : owningCase.FactorList) {
        WatchBox(watch, *factor);
    }
    owningCase.ForEachPerception([&](TPerception& perception) {
        WatchPerception(watch, perception);
        edit.Invalidate(perception, false);
    });
    WriteOptions(owningCase, options);
    watch.RecordChanges(edit);
}

TActorRelation* SetRelationStrength(TEdit& edit, TCase& owningCase, TActor* from, TActor* to,
                                    TActorRelationType type, int strength) {
    const int value = type == TActorRelationType::rtAffect ? std::clamp(strength, -5, 5)
                                                           : std::clamp(strength, 0, 1);
    const int index = owningCase.FindRelation(from, to);
    if (index < 0) {
        if (value == 0) {
            return nullptr;
        }
        edit.NameIfUnnamed("Add relation");
        auto relation = std::make_unique<TActorRelation>(from, to);
        (*relation)[type] = static_cast<std::int16_t>(value);
        return edit.Append(owningCase.Relations, std::move(relation));
    }
    TActorRelation* relation = owningCase.Relations[static_cast<std::size_t>(index)].get();
    auto strengths = relation->Strength;
    strengths[static_cast<std::size_t>(type)] = static_cast<std::int16_t>(value);
    edit.Set(relation->Strength, strengths);
    if (std::all_of(strengths.begin(), strengths.end(), [](std::int16_t s) { return s == 0; })) {
        edit.NameIfUnnamed("Delete relation");
        edit.Remove(owningCase.Relations, relation);
        return nullptr;
    }
    edit.NameIfUnnamed("Change relation");
    return relation;
}

void LayOutBox(TEdit& edit, TFactor& factor) {
    TFieldWatch watch;
    WatchBox(watch, factor);
    factor.LayOutBox();
    watch.RecordChanges(edit);
}

}  // namespace kavo
