#include <gtest/gtest.h>

#include <vector>

#include "diagram/DiagramFixture.h"
#include "diagram/DiagramGeometry.h"

namespace kavo {
namespace {

TEST(ArrowHeadTest, CornersAndBaseOffset) {
    struct TCase {
        TPoint Start, End;
        TPoint P1, P2, Offset;
        double Length;
    };
    const std::vector<TCase> cases{
        // Halves go to the even neighbour: -4.5 becomes -4, 4.5 becomes 4.
        {{0, 0}, {100, 0}, {91, 4}, {91, -4}, {9, 0}, 100},
        {{0, 0}, {50, 120}, {42, 113}, {51, 110}, {3, 8}, 130},
        {{100, 100}, {100, 40}, {104, 49}, {96, 49}, {0, -9}, 60},
    };
    for (const TCase& c : cases) {
        const TArrowHead head = ArrowHead(c.Start, c.End, 9);
        EXPECT_EQ(head.Points[0], c.End);
        EXPECT_EQ(head.Points[1], c.P1) << c.End.X << "," << c.End.Y;
        EXPECT_EQ(head.Points[2], c.P2) << c.End.X << "," << c.End.Y;
        EXPECT_EQ(head.BaseOffset, c.Offset);
        EXPECT_DOUBLE_EQ(head.Length, c.Length);
    }
}

TEST(ArrowHeadTest, ZeroLengthCollapsesOntoTheEnd) {
    const TArrowHead head = ArrowHead({7, 7}, {7, 7}, 9);
    EXPECT_EQ(head.Points, (std::array<TPoint, 3>{{{7, 7}, {7, 7}, {7, 7}}}));
    EXPECT_EQ(head.BaseOffset, (TPoint{0, 0}));
    EXPECT_EQ(head.Length, 0);
}

class LinkGeometryTest : public test::TDiagramFixture, public ::testing::Test {
  protected:
    // Rounded boxes: label block 60 wide, 25 high, box 84 wide.
    TFactor* Rain = Factor("Rain", 60, 25);
    TFactor* Flood = Factor("Flood", 60, 25);
    // An action box 80 wide and 37 high.
    TFactor* Dam = Factor("Dam", 50, 37, true, "Gov");
};

TEST_F(LinkGeometryTest, EndpointsOnTheOutlines) {
    struct TCase {
        const char* Name;
        TFactor* From;
        TPoint A;
        TFactor* To;
        TPoint B;
        TPoint Start, End;
    };
    const std::vector<TCase> cases{
        {"straight down, middle of the bottom and top edges",
         Rain,
         {100, 100},
         Flood,
         {100, 200},
         {100, 112},
         {100, 188}},
        {"straight up", Rain, {100, 200}, Flood, {100, 100}, {100, 188}, {100, 112}},
        {"level, through the rounded ends; one pixel inside at the start only",
         Rain,
         {100, 100},
         Flood,
         {300, 100},
         {141, 100},
         {258, 100}},
        {"steep, through the top and bottom edges",
         Rain,
         {100, 100},
         Flood,
         {130, 200},
         {104, 112},
         {126, 188}},
        {"shallow, on the end circles",
         Rain,
         {100, 100},
         Flood,
         {300, 150},
         {140, 102},
         {259, 146}},
        {"from the side of an action's rectangle",
         Dam,
         {100, 100},
         Flood,
         {300, 120},
         {140, 104},
         {258, 119}},
        {"towards the centre of the end circle: starts at that centre",
         Rain,
         {100, 100},
         Flood,
         {130, 110},
         {130, 100},
         {130, 98}},
    };
    for (const TCase& c : cases) {
        View->Links.clear();
        View->FiPs.clear();
        TLink* link = Link(Show(c.From, c.A.X, c.A.Y), Show(c.To, c.B.X, c.B.Y));
        const TLinkEnds ends = LinkEndpoints(*link);
        EXPECT_EQ(ends.Start, c.Start) << c.Name << ": " << ends.Start.X << "," << ends.Start.Y;
        EXPECT_EQ(ends.End, c.End) << c.Name << ": " << ends.End.X << "," << ends.End.Y;
    }
}

TEST_F(LinkGeometryTest, OperatorTabMakesTheBoxTaller) {
    TFiP* source = Show(Dam, 100, 300);
    TFiP* rain = Show(Rain, 100, 100);
    TFiP* flood = Show(Flood, 100, 200);
    EXPECT_EQ(DrawnBoxHeight(*flood), 25);
    Link(source, flood);
    flood->Operator = TOperator::opMul;
    EXPECT_TRUE(HasOperatorTab(*flood));
    EXPECT_EQ(DrawnBoxHeight(*flood), 35);
    const TLinkEnds ends = LinkEndpoints(*Link(rain, flood));
    EXPECT_EQ(ends.End, (TPoint{100, 183}));
    // Without an incoming link the operator has no tab.
    rain->Operator = TOperator::opMax;
    EXPECT_FALSE(HasOperatorTab(*rain));
    EXPECT_EQ(DrawnBoxHeight(*rain), 25);
}

TEST_F(LinkGeometryTest, BoxesOverlap) {
    struct TCase {
        TPoint B;
        bool Overlap;
    };
    // Boxes 84 wide and 25 high around (100, 100) and B.
    const std::vector<TCase> cases{
        {{183, 100}, true},  {{184, 100}, false}, {{150, 124}, true},
        {{150, 125}, false}, {{17, 76}, true},    {{100, 100}, true},
    };
    for (const TCase& c : cases) {
        View->Links.clear();
        View->FiPs.clear();
        TLink* link = Link(Show(Rain, 100, 100), Show(Flood, c.B.X, c.B.Y));
        EXPECT_EQ(BoxesOverlap(*link), c.Overlap) << c.B.X << "," << c.B.Y;
    }
}

}  // namespace
}  // namespace kavo
