#include <gtest/gtest.h>

#include <memory>
#include <string>

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

}  // namespace
}  // namespace kavo
