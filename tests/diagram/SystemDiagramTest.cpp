#include <gtest/gtest.h>

#include "diagram/DiagramFixture.h"
#include "diagram/TSystemDiagram.h"
#include "reasoning/Inference.h"

namespace kavo::test {
namespace {

// An analyst view with one factor of each kind: the mean Dam (an action without causes), the
// external Rain (a prospect), the criterion Yield (a goal) and the inside factor Water.
class SystemDiagramTest : public TDiagramFixture, public ::testing::Test {
  protected:
    SystemDiagramTest() {
        Dam = Show(Factor("Dam", 40, 34, true, "Gov"), 100, 300);
        Rain = Show(Factor("Rain", 30, 20), 300, 50);
        Yield = Show(Factor("Yield", 40, 20), 600, 200);
        Water = Show(Factor("Water", 40, 20), 300, 200);
        // Multipliers 1, 0.5 and 2.
        Link(Dam, Water, 2)->Distribution.SetMultiplier(Case, 2, 0);
        Link(Rain, Water, 1)->Distribution.SetMultiplier(Case, 1, 0);
        Link(Water, Yield, 3)->Distribution.SetMultiplier(Case, 3, 0);
        Prospect(Rain, 2, 0);
        Goal(Yield, TGoalType::gtStandard, 2, 2);
    }

    // The FiP of the copy for one of the view's.
    static TFiP* In(const TSystemDiagram& diagram, const TFiP* original) {
        return diagram.Perception().FindFiP(original->Factor);
    }

    TFiP* Dam;
    TFiP* Rain;
    TFiP* Yield;
    TFiP* Water;
};

TEST_F(SystemDiagramTest, PlacesMeansExternalsAndCriteriaOnTheEdgesOfTheBox) {
    TSystemDiagram diagram(*Arena);
    ASSERT_EQ(diagram.Means.size(), 1u);
    ASSERT_EQ(diagram.Externals.size(), 1u);
    ASSERT_EQ(diagram.Criteria.size(), 1u);
    ASSERT_EQ(diagram.Internals.size(), 1u);
    // Means 34 + 30 high, criteria 20 + 30: the criteria's gap grows by 14, the box is 64 + 30
    // high and as wide, then 60 wider and 40 higher; the externals' gap grows by 94 - 59 - 30.
    EXPECT_EQ(diagram.MeansGap, 10);
    EXPECT_EQ(diagram.CriteriaGap, 44);
    EXPECT_EQ(diagram.SystemLeft, 50);
    EXPECT_EQ(diagram.SystemTop, 20);
    EXPECT_EQ(diagram.SystemHeight, 134);
    const TFiP* mean = diagram.Means[0];
    const TFiP* criterion = diagram.Criteria[0];
    const TFiP* external = diagram.Externals[0];
    EXPECT_EQ((TPoint{mean->X, mean->Y}), (TPoint{50, 20 - 10 + 70 + 17}));
    EXPECT_EQ((TPoint{external->X, external->Y}), (TPoint{50 + 50 + 24, 20}));
    // The inside factor needs its width, half the mean's and the criterion's and 20 on either
    // side: 14 more than the 154 arranged, which go to the externals' gap too.
    EXPECT_EQ(diagram.SystemWidth, 168);
    EXPECT_EQ(diagram.ExternalsGap, 35 + 14);
    EXPECT_EQ((TPoint{criterion->X, criterion->Y}), (TPoint{50 + 168, 20 + 7 + 70 + 10}));
    // Alone, it goes to the middle of the inside: clear of the columns and below the row.
    EXPECT_EQ((TPoint{diagram.Internals[0]->X, diagram.Internals[0]->Y}), (TPoint{139, 92}));
    EXPECT_EQ(diagram.PictureWidth, 50 + 168 + 29 + 10);
    EXPECT_EQ(diagram.PictureHeight, 20 + 134 + 10);
}

TEST_F(SystemDiagramTest, InsideFactorsKeepTheirArrangementClearOfTheEdges) {
    Show(Factor("Soil", 40, 20), 500, 400);
    Show(Factor("Crop", 40, 20), 100, 100);
    TSystemDiagram diagram(*Arena);
    ASSERT_EQ(diagram.Internals.size(), 3u);
    const TFiP* water = diagram.Perception().FindFiP(Water->Factor);
    const TFiP* soil = diagram.Internals[1];
    const TFiP* crop = diagram.Internals[2];
    // The box grows to give them the room they have in the view: 400 by 300 apart.
    EXPECT_GE(soil->X - crop->X, 400);
    EXPECT_GE(soil->Y - crop->Y, 300);
    EXPECT_LT(crop->X, water->X);
    EXPECT_LT(water->X, soil->X);
    const int left = diagram.SystemLeft + 40 + 20 + 29;
    const int right = diagram.SystemLeft + diagram.SystemWidth - 29 - 20 - 29;
    EXPECT_EQ(crop->X, left);
    EXPECT_EQ(soil->X, right);
    EXPECT_EQ(crop->Y, diagram.SystemTop + 10 + 20 + 10);
    EXPECT_EQ(soil->Y, diagram.SystemTop + diagram.SystemHeight - 20 - 10);
    EXPECT_EQ(diagram.Criteria[0]->X, diagram.SystemLeft + diagram.SystemWidth);
}

TEST_F(SystemDiagramTest, ViewWithoutExternalsMakesASquareBox) {
    View->Remove(Rain);
    View->Remove(Water);
    TSystemDiagram diagram(*Arena);
    EXPECT_TRUE(diagram.Externals.empty());
    EXPECT_EQ(diagram.ExternalsGap, 30);
    EXPECT_EQ(diagram.SystemWidth - 60, diagram.SystemHeight - 40);
}

TEST_F(SystemDiagramTest, ViewWithOnlyInsideFactorsPlacesEveryFactorInsideTheBox) {
    View->Remove(View->Prospects.front().get());
    View->Remove(View->Goals.front().get());
    View->Remove(Dam);
    TSystemDiagram diagram(*Arena);
    ASSERT_EQ(diagram.Internals.size(), 3u);
    for (const TFiP* fip : diagram.Internals) {
        EXPECT_GE(fip->X, diagram.SystemLeft);
        EXPECT_LE(fip->X, diagram.SystemLeft + diagram.SystemWidth);
        EXPECT_GE(fip->Y, diagram.SystemTop);
        EXPECT_LE(fip->Y, diagram.SystemTop + diagram.SystemHeight);
    }
}

TEST_F(SystemDiagramTest, DrawsTheDashedBoxTheBoxesAndBlackLinksWithSignsBesideThem) {
    TSystemDiagram diagram(*Arena);
    diagram.Draw(Canvas);
    EXPECT_TRUE(LogHas(
        Canvas.Log, {"fill (0,0)-(257,164) 255,255,255", "pen 128,128,128 1 1",
                     "rectangle (50,20)-(218,154)", "text * Dam", "text * Rain", "text * Yield",
                     "text * Water", "pen 0,0,0 1 0", "font Courier New 13 bold *", "text * +"}));
    // Labels are 3 points larger; goal and prospect marks are left out.
    EXPECT_TRUE(LogContains(Canvas.Log, "font MS Sans Serif 11 *"));
    EXPECT_FALSE(LogContains(Canvas.Log, "polyline*"));
    EXPECT_FALSE(Case.Context().SystemDiagramStyle);
}

TEST_F(SystemDiagramTest, HidingAFactorHidesItsLinksUntilItIsShownAgain) {
    TSystemDiagram diagram(*Arena);
    TFiP* water = In(diagram, Water);
    const auto lines = [&] {
        TRecordingCanvas canvas;
        diagram.Draw(canvas);
        return canvas.Log;
    };
    const std::size_t drawn = lines().size();
    diagram.PointerPressed(water->X, water->Y, true);
    diagram.PointerReleased(water->X, water->Y);
    EXPECT_EQ(diagram.HiddenNames(), std::vector<std::string>{"Water"});
    const auto hidden = lines();
    EXPECT_FALSE(LogContains(hidden, "text * Water"));
    EXPECT_FALSE(LogContains(hidden, "text * +"));
    EXPECT_EQ(diagram.FiPAt(water->X, water->Y), nullptr);
    diagram.Unhide(0);
    EXPECT_EQ(lines().size(), drawn);
}

TEST_F(SystemDiagramTest, CriteriaMoveAlongTheRightEdgeAndExternalsAlongTheTop) {
    TSystemDiagram diagram(*Arena);
    const TSystemDiagram& d = diagram;
    struct TDrag {
        TFiP* FiP;
        TPoint To;
        TPoint Expected;
    };
    TFiP* criterion = In(d, Yield);
    TFiP* external = In(d, Rain);
    TFiP* mean = In(d, Dam);
    TFiP* inside = In(d, Water);
    const int right = d.SystemLeft + d.SystemWidth;
    for (const TDrag& drag : {TDrag{criterion, {20, 140}, {right, 140}},
                              TDrag{external, {150, 300}, {150, d.SystemTop}},
                              TDrag{mean, {150, 130}, {d.SystemLeft, 130}},
                              TDrag{inside, {5, -30}, {d.SystemLeft, d.SystemTop - 40}}}) {
        diagram.PointerMoved(drag.FiP->X, drag.FiP->Y);
        diagram.PointerPressed(drag.FiP->X, drag.FiP->Y, false);
        diagram.PointerMoved((drag.FiP->X + drag.To.X) / 2, (drag.FiP->Y + drag.To.Y) / 2);
        diagram.PointerReleased(drag.To.X, drag.To.Y);
        EXPECT_EQ((TPoint{drag.FiP->X, drag.FiP->Y}), drag.Expected) << drag.FiP->Factor->Name;
    }
}

TEST_F(SystemDiagramTest, StretchingTheBoxScalesItsFactorsButNotBelow200PixelsFromItsEdge) {
    TSystemDiagram diagram(*Arena);
    const int left = diagram.SystemLeft;
    const int top = diagram.SystemTop;
    const int width = diagram.SystemWidth;
    const int height = diagram.SystemHeight;
    const int criterionY = diagram.Criteria[0]->Y;
    const int corner = left + width - 1;
    const int bottom = top + height - 1;
    EXPECT_EQ(diagram.PointerMoved(corner, bottom), TSystemPointer::spSizeDiagonal);
    EXPECT_EQ(diagram.PointerMoved(corner, top + 50), TSystemPointer::spSizeHorizontal);
    // Less than 200 beyond the left edge: no effect that way; twice the height downwards.
    diagram.PointerPressed(corner, bottom, false);
    diagram.PointerReleased(left + 150, top + 2 * height);
    EXPECT_EQ(diagram.SystemWidth, width);
    EXPECT_EQ(diagram.SystemHeight, 2 * height);
    EXPECT_EQ(diagram.Criteria[0]->Y, top + 2 * (criterionY - top));
    EXPECT_EQ(diagram.PictureHeight, top + 2 * height + 10);
    // Stretching the right edge to twice the width doubles every distance from the left edge.
    diagram.PointerPressed(corner, top + 50, false);
    diagram.PointerReleased(left + 2 * width, top + 50);
    EXPECT_EQ(diagram.SystemWidth, 2 * width);
    EXPECT_EQ(diagram.Criteria[0]->X, left + 2 * width);
    EXPECT_EQ(diagram.PictureWidth, left + 2 * width + 110);
}

TEST_F(SystemDiagramTest, NothingItDoesChangesTheCase) {
    Case.Modified = false;
    {
        TSystemDiagram diagram(*Arena);
        TFiP* inside = In(diagram, Water);
        diagram.PointerPressed(inside->X, inside->Y, false);
        diagram.PointerReleased(inside->X + 30, inside->Y + 30);
        diagram.ToggleHidden(In(diagram, Yield));
        diagram.ArrowsMode = true;
        diagram.InferImpacts();
        diagram.Draw(Canvas);
    }
    EXPECT_EQ((TPoint{Water->X, Water->Y}), (TPoint{300, 200}));
    EXPECT_EQ((TPoint{Yield->X, Yield->Y}), (TPoint{600, 200}));
    EXPECT_EQ(View->FiPs.size(), 4u);
    EXPECT_FALSE(View->ResultsValid[TPerception::Inferred]);
    EXPECT_FALSE(Case.Modified);
}

TEST_F(SystemDiagramTest, ArrowsShowTheImpactOfMeansAndExternalsOnCriteria) {
    TSystemDiagram diagram(*Arena);
    diagram.ArrowsMode = true;
    diagram.InferImpacts();
    diagram.Draw(Canvas);
    const TFiP* mean = diagram.Means[0];
    const TFiP* external = diagram.Externals[0];
    const TFiP* criterion = diagram.Criteria[0];
    const std::string end =
        "(" + std::to_string(criterion->X - 59 / 2) + "," + std::to_string(criterion->Y) + ")";
    // Dam -> Water -> Yield: 1 x 2 is level +3, certain: orange, 3 wide, solid. Rain -> Water ->
    // Yield: 0.5 x 2 = 1, level +2.
    EXPECT_TRUE(LogHas(
        Canvas.Log,
        {"pen 240,64,0 3 0",
         "line (" + std::to_string(mean->X + 40) + "," + std::to_string(mean->Y) + ") " + end,
         "pen 240,64,0 1 0", "brush 240,64,0 0", "polygon *", "pen 240,64,0 2 0",
         "line (" + std::to_string(external->X) + "," + std::to_string(external->Y + 10) + ") " +
             end}));
    EXPECT_FALSE(LogContains(Canvas.Log, "text * Water"));
    EXPECT_EQ(diagram.FiPAt(In(diagram, Water)->X, In(diagram, Water)->Y), nullptr);
}

}  // namespace
}  // namespace kavo::test
