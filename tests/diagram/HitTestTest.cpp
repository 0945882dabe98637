#include <gtest/gtest.h>

#include <vector>

#include "diagram/DiagramFixture.h"
#include "diagram/HitTest.h"
#include "model/TLevels.h"

namespace kavo {
namespace {

class HitTestTest : public test::TDiagramFixture, public ::testing::Test {
  protected:
    // A rounded box 84 by 25 around (100, 100), its end circles around x = 70 and x = 130.
    TFiP* Rain = Show(Factor("Rain", 60, 25), 100, 100);
    // An action box 80 by 37 around (100, 100).
    TFiP* Dam = Show(Factor("Dam", 50, 37, true, "Gov"), 100, 100);
};

struct TPointCase {
    int X, Y;
    bool Hit;
};

TEST_F(HitTestTest, RoundedBoxHasRoundEnds) {
    const std::vector<TPointCase> cases{
        {100, 100, true},  {100, 112, true}, {100, 113, false}, {142, 100, true},
        {143, 100, false}, {140, 107, true}, {141, 108, false}, {61, 100, true},
        {59, 109, false},  {58, 100, true},  {130, 112, true},
    };
    for (const TPointCase& c : cases) {
        EXPECT_EQ(HitFiP(*Rain, c.X, c.Y), c.Hit) << c.X << "," << c.Y;
    }
}

TEST_F(HitTestTest, ActionBoxIsARectangle) {
    const std::vector<TPointCase> cases{
        {140, 118, true},
        {60, 82, true},
        {141, 100, false},
        {100, 119, false},
    };
    for (const TPointCase& c : cases) {
        EXPECT_EQ(HitFiP(*Dam, c.X, c.Y), c.Hit) << c.X << "," << c.Y;
    }
}

TEST_F(HitTestTest, RangeCells) {
    struct TCase {
        int X, Y, Level;
    };
    // The bar's cells begin one pixel below the box's top edge at y = 82.
    const std::vector<TCase> cases{
        {62, 83, -3}, {61, 83, kNoLevel},  {71, 92, -3},        {72, 92, -2},        {100, 83, 0},
        {137, 92, 3}, {138, 92, kNoLevel}, {100, 82, kNoLevel}, {100, 93, kNoLevel},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(HitRangeCell(*Dam, c.X, c.Y), c.Level) << c.X << "," << c.Y;
    }
    EXPECT_EQ(HitRangeCell(*Rain, 100, 89), kNoLevel);
}

TEST_F(HitTestTest, LinkWithinTheSquareRootOfTenOfItsLine) {
    struct TCase {
        TPoint Start, End;
        TPointCase Point;
    };
    const std::vector<TCase> cases{
        {{0, 0}, {100, 0}, {50, 3, true}},     {{0, 0}, {100, 0}, {50, -3, true}},
        {{0, 0}, {100, 0}, {50, 4, false}},    {{0, 0}, {100, 0}, {-1, 0, false}},
        {{0, 0}, {100, 0}, {100, 0, true}},    {{0, 0}, {100, 0}, {101, 0, false}},
        {{10, 10}, {10, 60}, {12, 30, true}},  {{10, 10}, {10, 60}, {14, 30, false}},
        {{10, 10}, {10, 60}, {10, 61, false}}, {{0, 0}, {30, 40}, {15, 20, true}},
        {{0, 0}, {30, 40}, {18, 16, false}},
    };
    TLink& link = *Link(Rain, Dam);
    for (const TCase& c : cases) {
        link.StartPoint = c.Start;
        link.EndPoint = c.End;
        EXPECT_EQ(HitLink(link, c.Point.X, c.Point.Y), c.Point.Hit)
            << c.Point.X << "," << c.Point.Y << " to " << c.End.X << "," << c.End.Y;
    }
}

}  // namespace
}  // namespace kavo
