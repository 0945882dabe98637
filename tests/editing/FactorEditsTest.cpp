#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "editing/CaseEdits.h"
#include "editing/EditFixture.h"
#include "editing/FactorEdits.h"
#include "editing/TEdit.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TGroup.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using test::DocumentOf;

// Two perceptions of one arena: in the analyst view Rain -> Runoff -> Flood and Runoff -> Dam
// (Dam a goal), Runoff with a goal and a prospect; the actor's perception shows Runoff alone.
class FactorEditsTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    void SetUp() override {
        TArena* arena = Case.FindOrCreateArena("River");
        Farmers = Case.AddActorToArena(*arena, "Farmers", "Farm");
        View = arena->AnalystView.get();
        Rain = Show(*View, Case.FindOrCreateFactor("Rain"));
        Runoff = Show(*View, Case.FindOrCreateFactor("Runoff"));
        Flood = Show(*View, Case.FindOrCreateFactor("Flood"));
        Dam = Show(*View, Case.FindOrCreateFactor("Dam"));
        Link(Rain, Runoff, 2);
        Link(Runoff, Flood, 3);
        Link(Runoff, Dam, 1);
        View->Add(std::make_unique<TGoal>(Case, Runoff, TGoalType::gtStandard, -2, 3));
        View->Add(std::make_unique<TGoal>(Case, Dam, TGoalType::gtStandard, 1, 1));
        View->Add(std::make_unique<TProspect>(Case, Runoff, 2, 0));
        Show(*Farmers->Perception, Runoff->Factor);
        Before = DocumentOf(Case);
    }
    TFiP* Show(TPerception& perception, TFactor* factor) {
        const int index = perception.Add(std::make_unique<TFiP>(factor));
        return perception.FiPs[static_cast<std::size_t>(index)].get();
    }
    void Link(TFiP* from, TFiP* to, int level) {
        View->Add(std::make_unique<TLink>(Case, from, to));
        View->Links.back()->Level = static_cast<std::int8_t>(level);
    }
    const TLink* LinkBetween(const char* from, const char* to) const {
        for (const auto& link : View->Links) {
            if (link->FromFiP->Factor->Name == from && link->ToFiP->Factor->Name == to) {
                return link.get();
            }
        }
        return nullptr;
    }
    void ExpectUndoneAndRedone(TEdit& edit) {
        const std::string after = DocumentOf(Case);
        edit.Undo();
        EXPECT_EQ(DocumentOf(Case), Before);
        edit.Redo();
        EXPECT_EQ(DocumentOf(Case), after);
    }

    TAiA* Farmers = nullptr;
    TPerception* View = nullptr;
    TFiP* Rain = nullptr;
    TFiP* Runoff = nullptr;
    TFiP* Flood = nullptr;
    TFiP* Dam = nullptr;
    std::string Before;
    TEdit Edit;
};

TEST_F(FactorEditsTest, AFactorThatBecomesAnActionLosesItsGoalsEverywhere) {
    TActor* actor = Farmers->Actor;
    ASSERT_TRUE(ChangeFactor(Edit, Case, *Runoff->Factor, " Drainage ", actor, true));
    EXPECT_EQ(Runoff->Factor->Name, "Drainage [Farm]");
    EXPECT_TRUE(Runoff->Factor->IsAction);
    EXPECT_EQ(actor->Actions, std::vector<TFactor*>{Runoff->Factor});
    EXPECT_EQ(View->GoalOf(Runoff), nullptr);
    EXPECT_NE(View->ProspectOf(Runoff), nullptr);
    ASSERT_EQ(Messages.Log.size(), 1u);
    EXPECT_EQ(Messages.Log[0].Text, "Actions can never be goals: 1 goal removed");
    ExpectUndoneAndRedone(Edit);
}

TEST_F(FactorEditsTest, AnActionWithoutActorBecomesAPlainFactorOfItsBareName) {
    ASSERT_TRUE(ChangeFactor(Edit, Case, *Dam->Factor, "Dam", Farmers->Actor, true));
    TEdit back;
    ASSERT_TRUE(ChangeFactor(back, Case, *Dam->Factor, "Dam", nullptr, false));
    EXPECT_EQ(Dam->Factor->Name, "Dam");
    EXPECT_EQ(Dam->Factor->Owner, nullptr);
    EXPECT_FALSE(Dam->Factor->IsAction);
    EXPECT_TRUE(Farmers->Actor->Actions.empty());
}

TEST_F(FactorEditsTest, ARefusedNameChangesNeitherOwnerNorKind) {
    Case.FindOrCreateFactor("Taken", false, false, "Farm");
    Before = DocumentOf(Case);
    for (const char* name : {"Taken", "", "Bad </td> name"}) {
        TEdit edit;
        EXPECT_FALSE(ChangeFactor(edit, Case, *Runoff->Factor, name, Farmers->Actor, true)) << name;
        EXPECT_TRUE(edit.Empty());
        EXPECT_EQ(DocumentOf(Case), Before) << name;
        EXPECT_EQ(Runoff->Factor->Owner, nullptr);
        EXPECT_TRUE(Farmers->Actor->Actions.empty());
    }
}

TEST_F(FactorEditsTest, MergeCarriesGoalProspectAndLinksButKeepsWhatTheTargetHas) {
    MergeFactors(Edit, Case, *Runoff->Factor, *Dam->Factor, false);
    EXPECT_LT(Case.FactorList.FindByName("Runoff"), 0);
    EXPECT_EQ(View->FindFiP(Runoff->Factor), nullptr);
    // Dam keeps its own goal, takes the prospect, and the link Runoff -> Dam is not carried over.
    EXPECT_EQ(View->GoalOf(Dam)->Level, 1);
    EXPECT_EQ(View->ProspectOf(Dam)->Level, 2);
    ASSERT_NE(LinkBetween("Rain", "Dam"), nullptr);
    EXPECT_EQ(LinkBetween("Rain", "Dam")->Level, 2);
    ASSERT_NE(LinkBetween("Dam", "Flood"), nullptr);
    EXPECT_EQ(LinkBetween("Dam", "Dam"), nullptr);
    // The actor's perception gets a box for Dam in place of Runoff's.
    EXPECT_NE(Farmers->Perception->FindFiP(Dam->Factor), nullptr);
    EXPECT_TRUE(test::InvariantFaults(Case).empty());
    ExpectUndoneAndRedone(Edit);
}

TEST_F(FactorEditsTest, MergeWithChangedSignsNegatesLinksAndMirrorsTheGoal) {
    MergeFactors(Edit, Case, *Runoff->Factor, *Flood->Factor, true);
    ASSERT_NE(LinkBetween("Rain", "Flood"), nullptr);
    EXPECT_EQ(LinkBetween("Rain", "Flood")->Level, -2);
    EXPECT_EQ(LinkBetween("Flood", "Dam")->Level, -1);
    EXPECT_EQ(View->GoalOf(Flood)->Level, 2);
    EXPECT_EQ(View->ProspectOf(Flood)->Level, -2);
    ExpectUndoneAndRedone(Edit);
}

// One perception of the merge table: the items drawn in it before the merge.
struct TMergeItem {
    enum { Link, Goal, Prospect } What;
    const char* From;
    const char* To;  // the target of a link
    int Level;
};

struct TMergeCase {
    const char* Name;
    std::vector<TMergeItem> Items;
    bool IntoAction;
    bool Invert;
    // The analyst view afterwards, as PerceptionSummary writes it.
    const char* After;
};

// The boxes (the merged-into factor G with its place), links, goals and prospects of a
// perception, each group sorted.
std::string PerceptionSummary(const TPerception& perception) {
    std::vector<std::string> parts;
    for (const auto& fip : perception.FiPs) {
        std::string box = fip->Factor->Name.substr(0, 1);
        if (box == "G") {
            box += "@" + std::to_string(fip->X) + "," + std::to_string(fip->Y);
        }
        parts.push_back(box);
    }
    std::sort(parts.begin(), parts.end());
    std::vector<std::string> items;
    const auto level = [](int value) { return (value > 0 ? "+" : "") + std::to_string(value); };
    for (const auto& link : perception.Links) {
        items.push_back(link->FromFiP->Factor->Name.substr(0, 1) + ">" +
                        link->ToFiP->Factor->Name.substr(0, 1) + level(link->Level));
    }
    for (const auto& goal : perception.Goals) {
        items.push_back("goal " + goal->FiP->Factor->Name.substr(0, 1) + level(goal->Level));
    }
    for (const auto& prospect : perception.Prospects) {
        items.push_back("prospect " + prospect->FiP->Factor->Name.substr(0, 1) +
                        level(prospect->Level));
    }
    std::sort(items.begin(), items.end());
    std::string text;
    for (const std::vector<std::string>* group : {&parts, &items}) {
        for (const std::string& part : *group) {
            text += (text.empty() ? "" : " ") + part;
        }
        text += group == &parts ? " |" : "";
    }
    return text;
}

TEST(MergeFactorsTable, MergesEachPerceptionAndDeletesTheFactor) {
    using I = TMergeItem;
    const std::vector<TMergeCase> cases{
        {"G absent: a box at (0, 0) takes F's links, goal and prospect",
         {{I::Link, "S", "F", 2},
          {I::Link, "F", "T", 1},
          {I::Goal, "F", "", 2},
          {I::Prospect, "F", "", -1}},
         false,
         false,
         "G@0,0 S T | G>T+1 S>G+2 goal G+2 prospect G-1"},
        {"G present keeps its goal, prospect and links",
         {{I::Link, "S", "F", 2},
          {I::Link, "S", "G", -1},
          {I::Goal, "F", "", 2},
          {I::Goal, "G", "", -3},
          {I::Prospect, "F", "", 1},
          {I::Prospect, "G", "", -2},
          {I::Link, "F", "T", 3},
          {I::Link, "G", "T", -1}},
         false,
         false,
         "G@50,50 S T | G>T-1 S>G-1 goal G-3 prospect G-2"},
        {"links between F and G are not carried over",
         {{I::Link, "F", "G", 3}, {I::Link, "G", "F", 1}, {I::Link, "F", "T", 2}},
         false,
         false,
         "G@50,50 T | G>T+2"},
        {"changed signs negate links, mirror the goal and invert the prospect",
         {{I::Link, "S", "F", 2},
          {I::Link, "F", "T", -1},
          {I::Goal, "F", "", 2},
          {I::Prospect, "F", "", 1}},
         false,
         true,
         "G@0,0 S T | G>T+1 S>G-2 goal G-2 prospect G-1"},
        {"an action takes no goal",
         {{I::Goal, "F", "", 2}, {I::Prospect, "F", "", 1}, {I::Link, "G", "T", 1}},
         true,
         false,
         "G@50,50 T | G>T+1 prospect G+1"},
        {"a perception without F stays as it is",
         {{I::Link, "S", "G", 1}},
         false,
         false,
         "G@50,50 S | S>G+1"},
    };
    for (const TMergeCase& row : cases) {
        SCOPED_TRACE(row.Name);
        test::TCaseFixture fixture;
        TCase& c = fixture.Case;
        TArena* arena = c.FindOrCreateArena("A");
        TAiA* actor = c.AddActorToArena(*arena, "Actor", "Act");
        TPerception& view = *arena->AnalystView;
        TFactor* from = c.FindOrCreateFactor("F");
        TFactor* into = row.IntoAction ? c.FindOrCreateFactor("G", false, true, "Act")
                                       : c.FindOrCreateFactor("G");
        const bool usesF = std::any_of(row.Items.begin(), row.Items.end(), [](const I& item) {
            return item.From[0] == 'F' || item.To[0] == 'F';
        });
        const auto box = [&](TPerception& perception, const char* name) {
            TFactor* factor = name[0] == 'F'   ? from
                              : name[0] == 'G' ? into
                                               : c.FindOrCreateFactor(name);
            if (perception.FindFiP(factor) == nullptr) {
                auto fip = std::make_unique<TFiP>(factor);
                fip->X = 50;
                fip->Y = 50;
                perception.Add(std::move(fip));
            }
            return perception.FindFiP(factor);
        };
        if (usesF) {
            box(*actor->Perception, "F");
        }
        for (const I& item : row.Items) {
            TFiP* fip = box(view, item.From);
            if (item.What == I::Link) {
                view.Add(std::make_unique<TLink>(c, fip, box(view, item.To)));
                view.Links.back()->Level = static_cast<std::int8_t>(item.Level);
            } else if (item.What == I::Goal) {
                view.Add(std::make_unique<TGoal>(c, fip, TGoalType::gtStandard, item.Level, 2));
            } else {
                view.Add(std::make_unique<TProspect>(c, fip, item.Level, 0));
            }
        }
        const std::string before = DocumentOf(c);

        TEdit edit;
        MergeFactors(edit, c, *from, *into, row.Invert);
        EXPECT_EQ(PerceptionSummary(view), row.After);
        EXPECT_EQ(PerceptionSummary(*actor->Perception), usesF ? "G@0,0 |" : " |");
        EXPECT_LT(c.FactorList.FindByName("F"), 0);
        EXPECT_TRUE(test::InvariantFaults(c).empty());
        const std::string after = DocumentOf(c);
        edit.Undo();
        EXPECT_EQ(DocumentOf(c), before);
        edit.Redo();
        EXPECT_EQ(DocumentOf(c), after);
    }
}

TEST_F(FactorEditsTest, TaggingAddsOnceAndRemoves) {
    TTag* tag = Case.FindOrCreateTag("Water");
    Runoff->Factor->Tags.push_back(tag);
    Before = DocumentOf(Case);
    std::vector<TConcept*> targets{Runoff->Factor, Dam->Factor};
    SetTag(Edit, targets, tag, true);
    EXPECT_EQ(Runoff->Factor->Tags.size(), 1u);
    EXPECT_EQ(Dam->Factor->Tags.size(), 1u);
    ExpectUndoneAndRedone(Edit);
    TEdit untag;
    SetTag(untag, targets, tag, false);
    EXPECT_TRUE(Runoff->Factor->Tags.empty());
    EXPECT_TRUE(Dam->Factor->Tags.empty());
}

TEST_F(FactorEditsTest, TaggingAGroupDescribesItsNewTagSet) {
    TTag* dry = Case.FindOrCreateTag("Dry");
    TTag* wet = Case.FindOrCreateTag("Wet");
    TGroup* group = Case.FindOrCreateGroup("Weather", "factors");
    Before = DocumentOf(Case);
    SetTag(Edit, {group}, wet, true);
    SetTag(Edit, {group}, dry, true);
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{Dry, Wet}"});
    EXPECT_TRUE(Edit.TreeChanged);
    ExpectUndoneAndRedone(Edit);
    Edit.Undo();
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{}"});
}

TEST_F(FactorEditsTest, TagColorsChangeAsOneStep) {
    TTag* tag = Case.FindOrCreateTag("Red");
    Before = DocumentOf(Case);
    TEdit same;
    SetTagColors(same, *tag, tag->LightColor, tag->MidColor, tag->DarkColor);
    EXPECT_TRUE(same.Empty());
    SetTagColors(Edit, *tag, 0x0000FF, 0x00007F, 0x00003F);
    EXPECT_EQ(Edit.Name, "Change tag color");
    EXPECT_EQ(tag->DarkColor, 0x00003Fu);
    ExpectUndoneAndRedone(Edit);
}

}  // namespace
}  // namespace kavo
