#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/PerceptionClipboard.h"
#include "editing/TEdit.h"
#include "model/TFactor.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

class PerceptionClipboardTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    PerceptionClipboardTest() {
        Rain = Source.Factor("Rain");
        Dam = Source.Action("Raise_dam");
        Level = Source.Factor("Level");
        RainToLevel = Source.Link(Rain, Level, 3, 1);
        DamToLevel = Source.Link(Dam, Level, -2);
        Source.Prospect(Rain, 2, 1);
        Source.Goal(Level, -1, 3);
        Dam->X = 120;
        Dam->Y = 80;
        Source.Actor->Comment = {"Runs the dam", "and the power station"};
        Rain->Factor->Comment = {"Has </tr> in it"};
    }

    test::TPerceptionBuilder Source{Case, "Hydro"};
    test::TPerceptionBuilder Target{Case, "Town"};
    TFiP* Rain;
    TFiP* Dam;
    TFiP* Level;
    TLink* RainToLevel;
    TLink* DamToLevel;
    TEdit Edit;
};

TEST_F(PerceptionClipboardTest, LinksCarryTheirEndsAcross) {
    Source.Perception->Selection = {DamToLevel, Rain};
    CopySelection(*Source.Perception);
    ASSERT_FALSE(Context.CopyBuffer.empty());
    EXPECT_TRUE(Paste(Edit, *Target.Perception, Context.CopyBuffer));
    TPerception& target = *Target.Perception;
    ASSERT_EQ(target.FiPs.size(), 3u);
    EXPECT_EQ(target.FiPs[0]->Factor, Rain->Factor);
    const TFiP* dam = target.FindFiP(Dam->Factor);
    ASSERT_NE(dam, nullptr);
    EXPECT_EQ(dam->X, 120);
    ASSERT_EQ(target.Links.size(), 1u);
    EXPECT_EQ(target.Links[0]->Distribution, DamToLevel->Distribution);
    ASSERT_EQ(target.Goals.size(), 1u);
    EXPECT_EQ(target.Goals[0]->Utilities, Source.Perception->Goals[0]->Utilities);
    ASSERT_EQ(target.Prospects.size(), 1u);
    EXPECT_EQ(target.Prospects[0]->Distribution, Source.Perception->Prospects[0]->Distribution);
    EXPECT_TRUE(target.Selection.empty());
    EXPECT_TRUE(Messages.Log.empty());
    Edit.Undo();
    EXPECT_TRUE(target.FiPs.empty() && target.Links.empty() && target.Goals.empty() &&
                target.Prospects.empty());
    Edit.Redo();
    EXPECT_EQ(target.FiPs.size(), 3u);
    EXPECT_EQ(target.Links.size(), 1u);
}

TEST_F(PerceptionClipboardTest, PasteIntoAnotherCaseCreatesActorsAndConcepts) {
    Source.Perception->Selection = {RainToLevel, Dam};
    CopySelection(*Source.Perception);
    test::TCaseFixture other;
    test::TPerceptionBuilder into(other.Case, "Someone");
    EXPECT_TRUE(Paste(Edit, *into.Perception, Context.CopyBuffer));
    const TActor* hydro = other.Case.FindActorByShortName("H");
    ASSERT_NE(hydro, nullptr);
    EXPECT_EQ(hydro->Name, "Hydro");
    EXPECT_EQ(hydro->Comment, Source.Actor->Comment);
    TFactor* dam = other.Case.FactorList.Find("Raise_dam [H]");
    ASSERT_NE(dam, nullptr);
    EXPECT_TRUE(dam->IsAction);
    EXPECT_EQ(dam->Owner, hydro);
    const TFactor* rain = other.Case.FactorList.Find("Rain");
    ASSERT_NE(rain, nullptr);
    EXPECT_EQ(rain->Comment, Rain->Factor->Comment);
    EXPECT_EQ(into.Perception->FiPs.size(), 3u);
    EXPECT_EQ(into.Perception->Links.size(), 1u);
    EXPECT_TRUE(other.Messages.Log.empty());
    // Undo takes back the concepts the paste created, and the actor.
    Edit.Undo();
    EXPECT_EQ(other.Case.FindActorByShortName("H"), nullptr);
    EXPECT_EQ(other.Case.FactorList.Find("Rain"), nullptr);
    EXPECT_TRUE(into.Perception->FiPs.empty());
}

TEST_F(PerceptionClipboardTest, PastedGoalReplacesTheGoalOfAShownFactor) {
    Source.Perception->Selection = {Level};
    CopySelection(*Source.Perception);
    TFiP* shown = Target.Factor("Level");
    shown->X = 7;
    Target.Goal(shown, 3, 1);
    EXPECT_TRUE(Paste(Edit, *Target.Perception, Context.CopyBuffer));
    ASSERT_EQ(Target.Perception->FiPs.size(), 1u);
    EXPECT_EQ(Target.Perception->FiPs[0]->X, 7);
    ASSERT_EQ(Target.Perception->Goals.size(), 1u);
    EXPECT_EQ(Target.Perception->Goals[0]->Level, -1);
    EXPECT_EQ(Target.Perception->Goals[0]->FiP, shown);
    Edit.Undo();
    ASSERT_EQ(Target.Perception->Goals.size(), 1u);
    EXPECT_EQ(Target.Perception->Goals[0]->Level, 3);
}

TEST_F(PerceptionClipboardTest, RowOfAnotherKindPastesNothing) {
    Source.Perception->Selection = {Rain};
    CopySelection(*Source.Perception);
    std::vector<std::string> lines = Context.CopyBuffer;
    lines.push_back("  <tr class=\"tag\">");
    Source.Perception->Selection = {Level};
    CopySelection(*Source.Perception);
    lines.insert(lines.end(), Context.CopyBuffer.begin(), Context.CopyBuffer.end());
    EXPECT_FALSE(Paste(Edit, *Target.Perception, lines));
    ASSERT_EQ(Messages.Log.size(), 1u);
    EXPECT_EQ(Messages.Log[0].Text, "Error during paste");
    EXPECT_TRUE(Target.Perception->FiPs.empty());
    EXPECT_TRUE(Edit.Empty());
}

}  // namespace
}  // namespace kavo
