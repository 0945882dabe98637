#include <gtest/gtest.h>

#include "diagram/DiagramFixture.h"
#include "diagram/TRelationsDiagram.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
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
    // The relations of a test, made as the relations window makes them.
    TEdit Relating;
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
    SetRelationStrength(Relating, Case, Alpha, Beta, rtAffect, 3);
    SetRelationStrength(Relating, Case, Alpha, Beta, rtDominance, 1);
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
    SetRelationStrength(Relating, Case, Alpha, Beta, rtCooperation, 1);
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
    SetRelationStrength(Relating, Case, Alpha, Beta, rtAffect, -4);
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
    SetRelationStrength(Relating, Case, Alpha, Beta, rtAffect, 2);
    SetRelationStrength(Relating, Case, Beta, Case.ActorList[2], rtAffect, 2);
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
    const auto set = [&](TActorRelationType type, int strength, const char* name) {
        TEdit edit;
        TActorRelation* relation = SetRelationStrength(edit, c, a, b, type, strength);
        EXPECT_EQ(edit.Name, name);
        return relation;
    };
    EXPECT_EQ(set(rtAffect, 0, ""), nullptr);
    EXPECT_TRUE(c.Relations.empty());
    TActorRelation* relation = set(rtAffect, 9, "Add relation");
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ((*relation)[rtAffect], 5);
    EXPECT_EQ(set(rtDominance, 3, "Change relation"), relation);
    EXPECT_EQ((*relation)[rtDominance], 1);
    EXPECT_EQ(set(rtAffect, 0, "Change relation"), relation);
    EXPECT_EQ(set(rtDominance, 0, "Delete relation"), nullptr);
    EXPECT_TRUE(c.Relations.empty());
}

TEST(RelationEdits, UndoBringsADeletedRelationBackInItsPlace) {
    TCaseFixture fixture;
    TCase& c = fixture.Case;
    TActor* a = c.FindOrCreateActor("Alpha", "A");
    TActor* b = c.FindOrCreateActor("Beta", "B");
    TEdit setUp;
    SetRelationStrength(setUp, c, b, a, rtFrankness, 1);
    TActorRelation* relation = SetRelationStrength(setUp, c, a, b, rtAffect, -2);
    relation->Comment = {"old", "friends"};
    SetRelationStrength(setUp, c, b, b, rtFrankness, 1);
    TEdit deletion;
    SetRelationStrength(deletion, c, a, b, rtAffect, 0);
    ASSERT_EQ(c.Relations.size(), 2u);
    deletion.Undo();
    ASSERT_EQ(c.FindRelation(a, b), 1);
    EXPECT_EQ(c.Relations[1].get(), relation);
    EXPECT_EQ((*relation)[rtAffect], -2);
    EXPECT_EQ(relation->Comment, (std::vector<std::string>{"old", "friends"}));
    deletion.Redo();
    EXPECT_EQ(c.FindRelation(a, b), -1);
}

}  // namespace
}  // namespace kavo::test
