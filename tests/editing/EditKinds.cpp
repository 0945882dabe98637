#include "editing/EditKinds.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "editing/CaseEdits.h"
#include "editing/EditFixture.h"
#include "editing/FactorEdits.h"
#include "editing/GroupingEdits.h"
#include "editing/PerceptionClipboard.h"
#include "editing/PerceptionEdits.h"
#include "editing/SimulationEdits.h"
#include "editing/TEdit.h"
#include "model/TCaseOptions.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "simulation/Rounds.h"

namespace kavo::test {

namespace {

// A factor the perception does not show, if any.
TFactor* Unshown(TCase& c, TPerception& perception, TPicker& pick) {
    for (int tries = 0; tries < 10; ++tries) {
        TFactor* factor = pick.From(c.FactorList);
        if (factor != nullptr && perception.FindFiP(factor) == nullptr) {
            return factor;
        }
    }
    return nullptr;
}

TPerception* WithFiPs(TCase& c, TPicker& pick, std::size_t count = 1) {
    for (int tries = 0; tries < 10; ++tries) {
        TPerception* perception = pick.Perception(c);
        if (perception != nullptr && perception->FiPs.size() >= count) {
            return perception;
        }
    }
    return nullptr;
}

std::vector<TPerceptionItem> SomeItems(TPerception& perception, TPicker& pick) {
    std::vector<TPerceptionItem> items;
    for (const auto& fip : perception.FiPs) {
        if (pick.Chance(0.3)) {
            items.push_back(fip.get());
        }
    }
    for (const auto& link : perception.Links) {
        if (pick.Chance(0.3)) {
            items.push_back(link.get());
        }
    }
    return items;
}

std::vector<TEditKind> MakeKinds() {
    std::vector<TEditKind> kinds;
    const auto add = [&kinds](const char* name, auto make) { kinds.push_back({name, make}); };

    add("rename case",
        [](TEdit& e, TCase& c, TPicker& p) { return RenameCase(e, c, p.NewName("Case")); });
    add("comment", [](TEdit& e, TCase& c, TPicker& p) {
        TFactor* factor = p.From(c.FactorList);
        if (factor == nullptr) {
            return false;
        }
        SetComment(e, *factor, p.NewName("First line") + "\nsecond line </p>");
        return true;
    });
    add("priority", [](TEdit& e, TCase& c, TPicker& p) {
        TArena* arena = p.From(c.ArenaList);
        if (arena == nullptr || arena->Actors.size() < 2) {
            return false;
        }
        for (std::size_t i = 0; i < arena->Actors.size(); ++i) {
            e.Set(arena->Actors[i]->Priority, static_cast<int>(i) + 1);
        }
        return MovePriority(e, *arena, *arena->Actors[1], -1);
    });
    add("rename tag", [](TEdit& e, TCase& c, TPicker& p) {
        TTag* tag = p.From(c.TagList);
        return tag != nullptr && RenameTag(e, c, *tag, p.NewName("A tag"));
    });
    add("rename arena", [](TEdit& e, TCase& c, TPicker& p) {
        TArena* arena = p.From(c.ArenaList);
        return arena != nullptr && RenameArena(e, c, *arena, p.NewName("An arena"));
    });
    add("rename group", [](TEdit& e, TCase& c, TPicker& p) {
        TGroup* group = p.From(c.GroupList);
        return group != nullptr && RenameGroup(e, c, *group, p.NewName("A group"));
    });
    add("rename factor", [](TEdit& e, TCase& c, TPicker& p) {
        TFactor* factor = p.From(c.FactorList);
        if (factor == nullptr) {
            return false;
        }
        const std::string suffix =
            factor->Owner != nullptr ? " [" + factor->Owner->ShortName + "]" : std::string();
        return RenameFactor(e, c, *factor, p.NewName("A") + suffix);
    });
    add("rename actor", [](TEdit& e, TCase& c, TPicker& p) {
        TActor* actor = p.From(c.ActorList);
        return actor != nullptr &&
               RenameActor(e, c, *actor, p.NewName("Zed actor"), p.NewName("Z"));
    });
    add("delete tag", [](TEdit& e, TCase& c, TPicker& p) {
        TTag* tag = p.From(c.TagList);
        if (tag != nullptr) {
            DeleteTag(e, c, tag);
        }
        return tag != nullptr;
    });
    add("delete factor", [](TEdit& e, TCase& c, TPicker& p) {
        TFactor* factor = p.From(c.FactorList);
        if (factor != nullptr) {
            DeleteFactor(e, c, factor);
        }
        return factor != nullptr;
    });
    add("delete actor", [](TEdit& e, TCase& c, TPicker& p) {
        TActor* actor = p.From(c.ActorList);
        if (actor != nullptr) {
            DeleteActor(e, c, actor);
        }
        return actor != nullptr;
    });
    add("delete arena", [](TEdit& e, TCase& c, TPicker& p) {
        TArena* arena = p.From(c.ArenaList);
        if (arena != nullptr) {
            DeleteArena(e, c, arena);
        }
        return arena != nullptr;
    });
    add("delete group", [](TEdit& e, TCase& c, TPicker& p) {
        TGroup* group = p.From(c.GroupList);
        if (group != nullptr) {
            DeleteGroup(e, c, group);
        }
        return group != nullptr;
    });
    add("delete actor from arena", [](TEdit& e, TCase& c, TPicker& p) {
        TArena* arena = p.From(c.ArenaList);
        TAiA* record = arena != nullptr ? p.From(arena->Actors) : nullptr;
        if (record != nullptr) {
            DeleteActorFromArena(e, *arena, record);
        }
        return record != nullptr;
    });
    add("new concepts", [](TEdit& e, TCase& c, TPicker& p) {
        FindOrCreateTag(e, c, p.NewName("Tag"));
        FindOrCreateArena(e, c, p.NewName("Arena"));
        TActor* actor = FindOrCreateActor(e, c, p.NewName("Actor"), p.NewName("S"));
        FindOrCreateFactor(e, c, p.NewName("Factor"), p.Chance(0.5), false, "");
        FindOrCreateFactor(e, c, p.NewName("Action"), false, true, actor->ShortName);
        FindOrCreateFactor(e, c, p.NewName("Attribute"), true, false, actor->ShortName);
        return true;
    });
    add("add actor to arena", [](TEdit& e, TCase& c, TPicker& p) {
        TArena* arena = p.From(c.ArenaList);
        if (arena == nullptr) {
            return false;
        }
        const std::string name = p.NewName("Newcomer");
        return AddActorToArena(e, c, *arena, name, name) != nullptr;
    });
    add("add factor to perception", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = p.Perception(c);
        TFactor* factor = perception != nullptr ? Unshown(c, *perception, p) : nullptr;
        if (factor == nullptr) {
            return false;
        }
        auto fip = std::make_unique<TFiP>(factor);
        fip->X = p.Draw(-50, 900);
        fip->Y = p.Draw(-50, 700);
        AddFiP(e, *perception, std::move(fip));
        KeepInArea(e, *perception);
        return true;
    });
    add("add link", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p, 2);
        if (perception == nullptr) {
            return false;
        }
        TFiP* from = p.From(perception->FiPs);
        TFiP* to = p.From(perception->FiPs);
        if (from == to) {
            return false;
        }
        AddLink(e, *perception, std::make_unique<TLink>(c, from, to));
        return true;
    });
    add("change link", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = p.Perception(c);
        TLink* link = perception != nullptr ? p.From(perception->Links) : nullptr;
        if (link == nullptr) {
            return false;
        }
        TLink values(c, link->FromFiP, link->ToFiP);
        const int level = p.Draw(-3, 3);
        const int uncertainty = p.Draw(0, 3);
        values.Level = static_cast<std::int8_t>(level);
        values.Uncertainty = static_cast<std::uint8_t>(uncertainty);
        values.Vector = UncertaintyProfile(uncertainty, level);
        values.Distribution.SetMultiplier(c, level, uncertainty);
        SetLinkValues(e, *perception, *link, values);
        return true;
    });
    add("goal", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        TFiP* fip = perception != nullptr ? p.From(perception->FiPs) : nullptr;
        if (fip == nullptr || fip->Factor->IsAction) {
            return false;
        }
        SetGoal(
            e, *perception, *fip,
            std::make_unique<TGoal>(c, fip, TGoalType::gtNegative, p.Draw(-3, 3), p.Draw(1, 3)));
        return true;
    });
    add("prospect", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        TFiP* fip = perception != nullptr ? p.From(perception->FiPs) : nullptr;
        if (fip == nullptr) {
            return false;
        }
        SetProspect(e, *perception, *fip,
                    std::make_unique<TProspect>(c, fip, p.Draw(-3, 3), p.Draw(0, 3)));
        return true;
    });
    add("erase goals and prospects", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        if (perception == nullptr) {
            return false;
        }
        perception->Selection = SomeItems(*perception, p);
        return ClearGoalsAndProspects(e, *perception);
    });
    add("cut", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        if (perception == nullptr) {
            return false;
        }
        const std::vector<TPerceptionItem> items = SomeItems(*perception, p);
        RemoveItems(e, *perception, items);
        return !items.empty();
    });
    add("move", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        if (perception == nullptr) {
            return false;
        }
        std::vector<TFiP*> fips;
        for (const auto& fip : perception->FiPs) {
            if (p.Chance(0.4)) {
                fips.push_back(fip.get());
            }
        }
        // Sometimes far enough to leave the drawing area, so that the diagram is pulled back.
        MoveFiPs(e, *perception, fips, p.Draw(-400, 200), p.Draw(-300, 200));
        return !e.Empty();
    });
    add("range cell", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        TFiP* fip = perception != nullptr ? p.From(perception->FiPs) : nullptr;
        if (fip == nullptr || !fip->Factor->IsAction) {
            return false;
        }
        PressRangeCell(e, *perception, *fip, p.Draw(-3, 3), p.Chance(0.5), p.Chance(0.5));
        return true;
    });
    add("aggregation", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* perception = WithFiPs(c, p);
        TFiP* fip = perception != nullptr ? p.From(perception->FiPs) : nullptr;
        if (fip == nullptr) {
            return false;
        }
        SetOperator(e, *perception, *fip,
                    static_cast<TOperator>((static_cast<int>(fip->Operator) + 1) % 4));
        return true;
    });
    add("paste", [](TEdit& e, TCase& c, TPicker& p) {
        TPerception* source = WithFiPs(c, p);
        TPerception* target = p.Perception(c);
        if (source == nullptr || target == nullptr) {
            return false;
        }
        source->Selection = SomeItems(*source, p);
        if (source->Selection.empty()) {
            return false;
        }
        CopySelection(*source);
        return Paste(e, *target, c.Context().CopyBuffer);
    });
    add("merge into analyst view", [](TEdit& e, TCase& c, TPicker& p) {
        TArena* arena = p.From(c.ArenaList);
        if (arena == nullptr) {
            return false;
        }
        MergeIntoAnalystView(e, *arena);
        return true;
    });
    add("options", [](TEdit& e, TCase& c, TPicker& p) {
        TCaseOptions options = OptionsOf(c);
        options.ChangeLevel3 += p.Draw(1, 3);
        options.LinkMultiplier = 1.5 + p.Draw(0, 2);
        options.UtilityLevel3 += 1;
        options.MaxWidth = p.Draw(300, 5000);
        options.DefaultActionRange[p.Draw(-3, 3)] = false;
        options.ApplyActionRange = p.Chance(0.5);
        options.DefaultRationality = static_cast<std::uint8_t>(p.Draw(0, 1) * 3);
        // Another size lays every box out again and rescales the diagrams.
        options.Font.Size = p.Chance(0.5) ? c.Font.Size + 2 : c.Font.Size;
        options.RandomSeed = p.Draw(1, 999999);
        options.BaseLevel = p.Draw(1, 50);
        if (p.Chance(0.5)) {
            TUtilityVectors standard = c.StdUtilityVectors;
            standard.At(p.Draw(1, 3), p.Draw(-3, 3), p.Draw(-3, 3)) = -3;
            options.StdUtilityVectors = standard;
            options.NegUtilityVectors = TUtilityVectors::DefaultNegative();
        }
        ChangeOptions(e, c, options);
        return true;
    });
    add("change factor", [](TEdit& e, TCase& c, TPicker& p) {
        TFactor* factor = p.From(c.FactorList);
        TActor* owner = p.Chance(0.3) ? nullptr : p.From(c.ActorList);
        return factor != nullptr &&
               ChangeFactor(e, c, *factor, p.NewName("Changed"), owner, p.Chance(0.5));
    });
    add("merge factors", [](TEdit& e, TCase& c, TPicker& p) {
        TFactor* from = p.From(c.FactorList);
        TFactor* into = p.From(c.FactorList);
        if (from == nullptr || into == nullptr || from == into) {
            return false;
        }
        MergeFactors(e, c, *from, *into, p.Chance(0.5));
        return true;
    });
    add("tag", [](TEdit& e, TCase& c, TPicker& p) {
        TTag* tag = p.From(c.TagList);
        std::vector<TConcept*> targets{p.From(c.FactorList), p.From(c.ActorList),
                                       p.From(c.ArenaList), p.From(c.GroupList)};
        std::erase(targets, nullptr);
        if (tag == nullptr || targets.empty()) {
            return false;
        }
        SetTag(e, targets, tag, p.Chance(0.6));
        return true;
    });
    add("tag color", [](TEdit& e, TCase& c, TPicker& p) {
        TTag* tag = p.From(c.TagList);
        if (tag == nullptr) {
            return false;
        }
        const auto color = [&p] { return static_cast<std::uint32_t>(p.Draw(0, 0xFFFFFF)); };
        SetTagColors(e, *tag, color(), color(), color());
        return true;
    });
    // What the tag window makes of one opening: a new tag, named, coloured and described, put on
    // some concepts, and at times another tag deleted.
    add("tag window", [](TEdit& e, TCase& c, TPicker& p) {
        TTag* tag = FindOrCreateTag(e, c, c.NewTagName());
        if (tag == nullptr || !RenameTag(e, c, *tag, p.NewName("Tagged"))) {
            return false;
        }
        SetTagColors(e, *tag, 0x0000FF, 0x00007F, 0x00003F);
        SetComment(e, *tag, p.NewName("Why"));
        std::vector<TConcept*> targets{p.From(c.FactorList), p.From(c.GroupList)};
        std::erase(targets, nullptr);
        SetTag(e, targets, tag, true);
        TTag* other = p.From(c.TagList);
        if (other != tag && p.Chance(0.5)) {
            DeleteTag(e, c, other);
        }
        return true;
    });
    add("initialize round 0",
        [](TEdit& e, TCase& c, TPicker&) { return InitializeRound0(e, c) != nullptr; });
    add("next round", [](TEdit& e, TCase& c, TPicker& p) {
        std::vector<TArena*> rounds;
        for (const auto& arena : c.ArenaList) {
            if (RoundNumber(*arena)) {
                rounds.push_back(arena.get());
            }
        }
        // Without round 0 the edit compiles it first and plays from there.
        TArena* previous = FindRound(c, 0) != nullptr ? p.From(rounds) : InitializeRound0(e, c);
        if (previous == nullptr) {
            return false;
        }
        // Generated options may allow half a million strategies a search.
        e.Set(c.Evaluations, std::min<std::int64_t>(c.Evaluations, 50));
        const std::optional<TRoundReport> report = NextRound(e, c, previous);
        return report && !report->Cancelled;
    });
    add("group", [](TEdit& e, TCase& c, TPicker& p) {
        TGroup* group = p.Chance(0.3) ? AddGroup(e, c, static_cast<TGroupKind>(p.Draw(0, 2)))
                                      : p.From(c.GroupList);
        if (group == nullptr) {
            return false;
        }
        std::vector<TTag*> tags;
        for (const auto& tag : c.TagList) {
            if (p.Chance(0.4)) {
                tags.push_back(tag.get());
            }
        }
        SetGroupTags(e, c, *group, tags);
        SetGroupChecked(e, *group, p.Chance(0.5));
        return !e.Empty();
    });
    add("grouping modes", [](TEdit& e, TCase& c, TPicker& p) {
        SetGroupingMode(e, c, static_cast<TGroupKind>(p.Draw(0, 2)),
                        static_cast<std::uint8_t>(p.Draw(0, 5)));
        SetMentionedOnly(e, c, p.Chance(0.5));
        return !e.Empty();
    });
    return kinds;
}

}  // namespace

const std::vector<TEditKind>& EditKinds() {
    static const std::vector<TEditKind> kinds = MakeKinds();
    return kinds;
}

}  // namespace kavo::test
