#include <gtest/gtest.h>

#include "diagram/DiagramFixture.h"
#include "diagram/TRelationsDiagram.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "model/RelationEdits.h"
#include "model/TActor.h"

namespace kavo::test {
namespace {

using enum TActorRelationType;

class RelationsDiagramTest : public ::testing::Test, public TCaseFixture {
  protected:
    RelationsDiagramTest() {
        Alpha = Case.FindOrCreateActor("Alpha", "A");
        Beta = Case.FindOrCreateActor("Beta", "B");
        Diagram.Width = 600;
        Diagram.Height = 400;
        Diagram.Place();
    }

    std::vector<std::string> Drawn() const {
        TRecordingCanvas canvas;
        Diagram.Draw(canvas);
        return canvas.Log;
    }

    TActor* Alpha;
    TActor* Beta;
    TRelationsDiagram Diagram{Case};
};

TEST_F(RelationsDiagramTest, OneActorSitsInTheMiddleWithMarginsFromItsName) {
    TEdit edit;
    DeleteActor(edit, Case, Beta);
    Diagram.Place();
    // Margins 6 / 2 + 25 on both sides; the single actor is at the top of its ellipse, whose
    // centre is lowered by the top allowance.
    EXPECT_EQ(Diagram.Position(0), (TPoint{300, 200}));
    EXPECT_TRUE(LogHas(Drawn(), {"text (297,177) A"}));
}

TEST_F(RelationsDiagramTest, TypesBetweenTwoActorsAreParallelArrowsWidenedByStrength) {
    SetRelationStrength(Case, Alpha, Beta, rtAffect, 3);
    SetRelationStrength(Case, Alpha, Beta, rtDominance, 1);
    // Two actors face each other across the middle: Alpha on the right, Beta on the left.
    const TPoint a = Diagram.Position(0);
    const TPoint b = Diagram.Position(1);
    ASSERT_EQ(a.Y, b.Y);
    ASSERT_GT(a.X, b.X);
    // From 20 pixels off Alpha to 10 off Beta; heading left, the left side is downwards.
    const std::string green = "line (" + std::to_string(a.X - 20) + "," + std::to_string(a.Y + 4) +
                              ") (" + std::to_string(b.X + 10) + "," + std::to_string(a.Y + 4) +
                              ")";
    const std::string blue = "line (" + std::to_string(a.X - 20) + "," + std::to_string(a.Y + 8) +
                             ") (" + std::to_string(b.X + 10) + "," + std::to_string(a.Y + 8) + ")";
    EXPECT_TRUE(LogHas(Drawn(), {"pen 32,192,0 4 0", green, "pen 0,0,192 2 0", blue}));
    const auto arrow = Diagram.ArrowAt((a.X + b.X) / 2, a.Y + 9);
    ASSERT_TRUE(arrow.has_value());
    EXPECT_EQ(arrow->Type, rtDominance);
}

TEST_F(RelationsDiagramTest, HiddenTypesLoseTheirArrowsAndLegendEntries) {
    SetRelationStrength(Case, Alpha, Beta, rtCooperation, 1);
    EXPECT_TRUE(LogContains(Drawn(), "pen 240,144,0 2 0"));
    EXPECT_TRUE(LogContains(Drawn(), "text * Cooperation"));
    Diagram.VisibleTypes[1] = false;
    EXPECT_FALSE(LogContains(Drawn(), "pen 240,144,0 2 0"));
    EXPECT_FALSE(LogContains(Drawn(), "text * Cooperation"));
    EXPECT_TRUE(LogContains(Drawn(), "text * Negative affect"));
}

TEST_F(RelationsDiagramTest, WithoutActorsOnlyTitleAndLegendAreDrawn) {
    TEdit edit;
    DeleteActor(edit, Case, Alpha);
    DeleteActor(edit, Case, Beta);
    Case.Name = "Water";
    Diagram.Place();
    const auto log = Drawn();
    EXPECT_TRUE(LogHas(log, {"font MS Sans Serif 10 bold 0,0,0", "text * Actor relations in Water",
                             "text * Positive affect", "text * Frankness"}));
    EXPECT_FALSE(LogContains(log, "text * A"));
}

TEST_F(RelationsDiagramTest, DrawingFromTheFocalActorOntoAnotherAsksForTheRelation) {
    const TPoint a = Diagram.Position(0);
    const TPoint b = Diagram.Position(1);
    Diagram.ChosenType = rtAffect;
    Diagram.NegativeAffect = true;
    Diagram.Strength = 3;
    Diagram.Press(a.X + 2, a.Y - 2);
    EXPECT_EQ(Diagram.Focal(), Alpha);
    EXPECT_TRUE(Diagram.Drawing);
    EXPECT_EQ(Diagram.Release(b.X, b.Y), (TRelationRequest{Alpha, Beta, rtAffect, -3}));
    EXPECT_EQ(Diagram.Focal(), nullptr);
    EXPECT_EQ(Diagram.Selected, (TRelationArrow{Alpha, Beta, rtAffect}));
}

TEST_F(RelationsDiagramTest, DrawingOntoTheFocalActorItselfAsksNothing) {
    const TPoint a = Diagram.Position(0);
    Diagram.ChosenType = rtFrankness;
    Diagram.Press(a.X, a.Y);
    EXPECT_EQ(Diagram.Release(a.X + 1, a.Y), std::nullopt);
    EXPECT_EQ(Diagram.Release(300, 5), std::nullopt);
}

// Selecting an arrow sets the tool from it and changes nothing; only the strength control does.
TEST_F(RelationsDiagramTest, SelectingAnArrowSetsTheToolWithoutChangingTheRelation) {
    SetRelationStrength(Case, Alpha, Beta, rtAffect, -4);
    const TPoint a = Diagram.Position(0);
    const TPoint b = Diagram.Position(1);
    Diagram.Press((a.X + b.X) / 2, a.Y + 4);
    EXPECT_EQ(Diagram.Release((a.X + b.X) / 2, a.Y + 4), std::nullopt);
    EXPECT_EQ(Diagram.ChosenType, rtAffect);
    EXPECT_TRUE(Diagram.NegativeAffect);
    EXPECT_EQ(Diagram.Strength, 4);
    EXPECT_EQ(Case.Relations.front()->Strength[0], -4);
    EXPECT_EQ(Diagram.StrengthChanged(2), (TRelationRequest{Alpha, Beta, rtAffect, -2}));
    // Deleting asks for strength 0 and leaves nothing selected.
    EXPECT_EQ(Diagram.DeleteSelected(), (TRelationRequest{Alpha, Beta, rtAffect, 0}));
    EXPECT_FALSE(Diagram.Selected.has_value());
    EXPECT_EQ(Diagram.DeleteSelected(), std::nullopt);
}

TEST_F(RelationsDiagramTest, FiltersShowTheFocalActorsRelationsOnly) {
    Case.FindOrCreateActor("Gamma", "C");
    Diagram.Place();
    SetRelationStrength(Case, Alpha, Beta, rtAffect, 2);
    SetRelationStrength(Case, Beta, Case.ActorList[2], rtAffect, 2);
    const auto arrows = [&] {
        int count = 0;
        for (const std::string& line : Drawn()) {
            count += line.starts_with("pen 32,192,0 3 0") ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(arrows(), 2);
    const TPoint a = Diagram.Position(0);
    Diagram.Press(a.X, a.Y);
    Diagram.Release(a.X, a.Y);
    for (const auto& [filter, expected] :
         {std::pair{TRelationFilter::rfAll, 1}, std::pair{TRelationFilter::rfOutgoing, 1},
          std::pair{TRelationFilter::rfIncoming, 0}, std::pair{TRelationFilter::rfNone, 2}}) {
        Diagram.Filter = filter;
        EXPECT_EQ(arrows(), expected);
    }
    Diagram.Filter = TRelationFilter::rfOutgoing;
    EXPECT_TRUE(LogContains(Drawn(), "text * (relations from Alpha to others only)"));
}

TEST(RelationEdits, SettingStrengthsMakesChangesAndRemovesTheRelation) {
    TCaseFixture fixture;
    TCase& c = fixture.Case;
    TActor* a = c.FindOrCreateActor("Alpha", "A");
    TActor* b = c.FindOrCreateActor("Beta", "B");
    EXPECT_EQ(SetRelationStrength(c, a, b, rtAffect, 0), nullptr);
    EXPECT_TRUE(c.Relations.empty());
    TActorRelation* relation = SetRelationStrength(c, a, b, rtAffect, 9);
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ((*relation)[rtAffect], 5);
    EXPECT_EQ(SetRelationStrength(c, a, b, rtDominance, 3), relation);
    EXPECT_EQ((*relation)[rtDominance], 1);
    EXPECT_EQ(SetRelationStrength(c, a, b, rtAffect, 0), relation);
    EXPECT_EQ(SetRelationStrength(c, a, b, rtDominance, 0), nullptr);
    EXPECT_TRUE(c.Relations.empty());
}

TEST(RelationEdits, RestoringAStateBringsARemovedRelationBackInItsPlace) {
    TCaseFixture fixture;
    TCase& c = fixture.Case;
    TActor* a = c.FindOrCreateActor("Alpha", "A");
    TActor* b = c.FindOrCreateActor("Beta", "B");
    SetRelationStrength(c, b, a, rtFrankness, 1);
    SetRelationStrength(c, a, b, rtAffect, -2)->Comment = {"old", "friends"};
    SetRelationStrength(c, b, b, rtFrankness, 1);
    const TRelationState before = RelationState(c, a, b);
    SetRelationStrength(c, a, b, rtAffect, 0);
    ASSERT_EQ(c.Relations.size(), 2u);
    c.Modified = false;
    RestoreRelation(c, a, b, before);
    EXPECT_TRUE(c.Modified);
    ASSERT_EQ(c.FindRelation(a, b), 1);
    EXPECT_EQ(RelationState(c, a, b), before);
    RestoreRelation(c, a, b, TRelationState{});
    EXPECT_EQ(c.FindRelation(a, b), -1);
}

}  // namespace
}  // namespace kavo::test
