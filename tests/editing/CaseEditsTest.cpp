#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using test::NamesOf;
using test::TMessage;

class CaseEditsTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    static TMessage Warning(const std::string& text) { return {TMessage::Kind::Warning, text}; }

    TFiP* Show(TPerception& perception, TFactor* factor) {
        const int index = perception.Add(std::make_unique<TFiP>(factor));
        return perception.FiPs[static_cast<std::size_t>(index)].get();
    }

    TEdit Edit;
};

TEST_F(CaseEditsTest, RenamingAnActorRenamesItsFactorsAndResorts) {
    TActor* farmers = Case.FindOrCreateActor("Farmers", "F");
    Case.FindOrCreateFactor("Price", false, true, "F");
    Case.FindOrCreateFactor("Land", false, false, "F");
    Case.FindOrCreateActor("Government", "G");
    Case.FindOrCreateFactor("Price", false, true, "G");
    EXPECT_TRUE(RenameActor(Edit, Case, *farmers, " Growers ", " H "));
    EXPECT_EQ(Edit.Name, "Rename actor");
    EXPECT_EQ(farmers->Name, "Growers");
    EXPECT_EQ(farmers->ShortName, "H");
    EXPECT_EQ(NamesOf(Case.ActorList), (std::vector<std::string>{"Government", "Growers"}));
    EXPECT_EQ(NamesOf(Case.FactorList),
              (std::vector<std::string>{"Land [H]", "Price [G]", "Price [H]"}));
    EXPECT_EQ(farmers->Actions[0]->Name, "Price [H]");
    Edit.Undo();
    EXPECT_EQ(farmers->Name, "Farmers");
    EXPECT_EQ(farmers->ShortName, "F");
    EXPECT_EQ(NamesOf(Case.ActorList), (std::vector<std::string>{"Farmers", "Government"}));
    EXPECT_EQ(NamesOf(Case.FactorList),
              (std::vector<std::string>{"Land [F]", "Price [F]", "Price [G]"}));

    TEdit empty;
    EXPECT_TRUE(RenameActor(empty, Case, *farmers, "Farmers", ""));
    EXPECT_EQ(farmers->ShortName, "Farmers");
    EXPECT_EQ(Case.FactorList[0]->Name, "Land [Farmers]");
}

TEST_F(CaseEditsTest, RefusedActorNames) {
    TActor* farmers = Case.FindOrCreateActor("Farmers", "F");
    Case.FindOrCreateActor("Government", "G");
    Case.FindOrCreateFactor("Price", false, true, "F");
    // A clash of short names changes nothing.
    EXPECT_FALSE(RenameActor(Edit, Case, *farmers, "Farmers", "g"));
    EXPECT_TRUE(Edit.Empty());
    // A name in use is refused, the short name is taken all the same.
    EXPECT_FALSE(RenameActor(Edit, Case, *farmers, "government", "FA"));
    EXPECT_EQ(farmers->Name, "Farmers");
    EXPECT_EQ(farmers->ShortName, "FA");
    EXPECT_EQ(Case.FactorList[0]->Name, "Price [FA]");
    EXPECT_EQ(
        Messages.Log,
        (std::vector<TMessage>{Warning("Short actor name already in use"),
                               Warning("Names must be unique: \"Government\" is in use already")}));
}

TEST_F(CaseEditsTest, RefusedNamesChangeNothing) {
    struct Case_ {
        const char* Name;
        const char* Warning;
    };
    TTag* tag = Case.FindOrCreateTag("Fine");
    Case.FindOrCreateTag("Other");
    const Case_ cases[] = {
        {"Not</td>fine", "Names may not contain \"</td>\""},
        {"  ", "Name cannot be empty string"},
        {"OTHER", "Names must be unique: \"Other\" is in use already"},
    };
    for (const Case_& c : cases) {
        Messages.Log.clear();
        EXPECT_FALSE(RenameTag(Edit, Case, *tag, c.Name)) << c.Name;
        EXPECT_EQ(Messages.Log, std::vector<TMessage>{Warning(c.Warning)}) << c.Name;
    }
    EXPECT_TRUE(Edit.Empty());
    EXPECT_EQ(tag->Name, "Fine");
    // Round arenas are the simulation's own: the user may not name one so.
    TArena* arena = Case.FindOrCreateArena("Water");
    EXPECT_FALSE(RenameArena(Edit, Case, *arena, " *Round  1"));
    EXPECT_EQ(arena->Name, "Water");
    // A change of letter case only is a rename.
    EXPECT_TRUE(RenameTag(Edit, Case, *tag, "FINE"));
    EXPECT_EQ(NamesOf(Case.TagList), (std::vector<std::string>{"FINE", "Other"}));
}

TEST_F(CaseEditsTest, DeletingAnActorTakesEverythingAlongAndUndoBringsItBack) {
    TActor* farmers = Case.FindOrCreateActor("Farmers", "F");
    TActor* state = Case.FindOrCreateActor("State", "S");
    TTag* tag = Case.FindOrCreateTag("Users");
    farmers->Tags = {tag};
    TFactor* subsidy = Case.FindOrCreateFactor("Subsidy", false, true, "S");
    TFactor* land = Case.FindOrCreateFactor("Land", false, false, "F");
    TFactor* price = Case.FindOrCreateFactor("Price", false, true, "F");
    TFactor* rain = Case.FindOrCreateFactor("Rain");
    TArena* arena = Case.FindOrCreateArena("Water");
    TAiA* stateRecord = arena->AddActor(state);
    TAiA* farmersRecord = arena->AddActor(farmers);
    for (TPerception* perception : {arena->AnalystView.get(), stateRecord->Perception.get()}) {
        TFiP* from = Show(*perception, price);
        TFiP* to = Show(*perception, rain);
        Show(*perception, subsidy);
        Show(*perception, land);
        perception->Add(std::make_unique<TLink>(Case, from, to));
        perception->Add(std::make_unique<TGoal>(Case, from, TGoalType::gtStandard, 1, 2));
        perception->Selection = {from};
    }
    Case.Relations.push_back(std::make_unique<TActorRelation>(state, farmers));
    Case.Relations.push_back(std::make_unique<TActorRelation>(farmers, state));

    DeleteActor(Edit, Case, farmers);

    EXPECT_EQ(NamesOf(Case.ActorList), std::vector<std::string>{"State"});
    EXPECT_EQ(NamesOf(Case.FactorList), (std::vector<std::string>{"Rain", "Subsidy [S]"}));
    ASSERT_EQ(arena->Actors.size(), 1u);
    EXPECT_EQ(arena->Actors[0]->Actor, state);
    for (TPerception* perception : {arena->AnalystView.get(), stateRecord->Perception.get()}) {
        ASSERT_EQ(perception->FiPs.size(), 2u);
        EXPECT_EQ(perception->FiPs[0]->Factor, rain);
        EXPECT_TRUE(perception->Links.empty());
        EXPECT_TRUE(perception->Goals.empty());
        EXPECT_TRUE(perception->FiPs[0]->InLinks.empty());
        EXPECT_TRUE(perception->Selection.empty());
    }
    EXPECT_TRUE(Case.Relations.empty());

    // The same objects come back, with everything that referred to them.
    Edit.Undo();
    EXPECT_EQ(Case.ActorList[0], farmers);
    EXPECT_EQ(farmers->Tags, std::vector<TTag*>{tag});
    EXPECT_EQ(Case.FactorList.Find("Price [F]"), price);
    EXPECT_EQ(farmers->Actions, std::vector<TFactor*>{price});
    ASSERT_EQ(arena->Actors.size(), 2u);
    EXPECT_EQ(arena->Actors[1].get(), farmersRecord);
    for (TPerception* perception : {arena->AnalystView.get(), stateRecord->Perception.get()}) {
        ASSERT_EQ(perception->FiPs.size(), 4u);
        EXPECT_EQ(perception->FiPs[0]->Factor, price);
        ASSERT_EQ(perception->Links.size(), 1u);
        EXPECT_EQ(perception->FiPs[1]->InLinks, std::vector<TLink*>{perception->Links[0].get()});
        ASSERT_EQ(perception->Goals.size(), 1u);
        EXPECT_EQ(perception->Goals[0]->FiP, perception->FiPs[0].get());
        EXPECT_EQ(perception->Selection, std::vector<TPerceptionItem>{perception->FiPs[0].get()});
    }
    ASSERT_EQ(Case.Relations.size(), 2u);
    EXPECT_EQ(Case.Relations[1]->From, farmers);
}

TEST_F(CaseEditsTest, DeletingAFactorRemovesItFromItsActorAndFromPerceptions) {
    Case.FindOrCreateActor("State", "S");
    TFactor* subsidy = Case.FindOrCreateFactor("Subsidy", false, true, "S");
    TArena* arena = Case.FindOrCreateArena("Water");
    Show(*arena->AnalystView, subsidy);
    DeleteFactor(Edit, Case, subsidy);
    EXPECT_EQ(Edit.Name, "Delete action");
    EXPECT_TRUE(Case.FactorList.Empty());
    EXPECT_TRUE(Case.ActorList[0]->Actions.empty());
    EXPECT_TRUE(arena->AnalystView->FiPs.empty());
    Edit.Undo();
    EXPECT_EQ(Case.ActorList[0]->Actions, std::vector<TFactor*>{subsidy});
    EXPECT_EQ(arena->AnalystView->FiPs.size(), 1u);
}

TEST_F(CaseEditsTest, DeletingATagRemovesItFromConceptsAndGroupTagSets) {
    TTag* red = Case.FindOrCreateTag("Red");
    TTag* blue = Case.FindOrCreateTag("Blue");
    TFactor* rain = Case.FindOrCreateFactor("Rain");
    rain->Tags = {red, blue};
    TGroup* group = Case.FindOrCreateGroup("Colours", "factors");
    group->Tags = {red, blue};
    group->UpdateDescription();
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{Blue, Red}"});
    EXPECT_EQ(group->MemberList(), std::vector<TConcept*>{rain});
    DeleteTag(Edit, Case, red);
    EXPECT_EQ(rain->Tags, std::vector<TTag*>{blue});
    EXPECT_EQ(group->Tags, std::vector<TTag*>{blue});
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{Blue}"});
    EXPECT_EQ(NamesOf(Case.TagList), std::vector<std::string>{"Blue"});
    Edit.Undo();
    EXPECT_EQ(rain->Tags, (std::vector<TTag*>{red, blue}));
    EXPECT_EQ(group->Comment, std::vector<std::string>{"{Blue, Red}"});
}

TEST_F(CaseEditsTest, CommentsAreStoredLineByLine) {
    TFactor* rain = Case.FindOrCreateFactor("Rain");
    SetComment(Edit, *rain, "  First\r\nsecond\n\nlast  ");
    EXPECT_EQ(rain->Comment, (std::vector<std::string>{"First", "second", "", "last"}));
    Edit.Undo();
    EXPECT_TRUE(rain->Comment.empty());
}

}  // namespace
}  // namespace kavo
