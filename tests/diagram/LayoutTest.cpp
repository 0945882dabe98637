#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "diagram/DiagramFixture.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TLayout.h"
#include "model/TRandom.h"
#include "support/TangledPerception.h"

namespace kavo::test {
namespace {

class LayoutTest : public TDiagramFixture, public ::testing::Test {
  protected:
    LayoutTest() {
        Case.MaxWidth = 1000;
        Case.MaxHeight = 800;
        Layout.MinX = 10;
        Layout.MaxX = 1000;
        Layout.MaxY = 800;
    }

    std::vector<TPoint> Positions(const TPerception& perception) const {
        std::vector<TPoint> positions;
        for (const auto& fip : perception.FiPs) {
            positions.push_back({fip->X, fip->Y});
        }
        return positions;
    }

    TLayout Layout;
    TRandom Random;
};

TEST_F(LayoutTest, LinkLongerThanTheEdgeLengthPullsItsBoxesTogetherAtMostFiftyPixelsAStep) {
    TFiP* a = Show(Factor("A", 40, 20), 100, 100);
    TFiP* b = Show(Factor("B", 40, 20), 500, 100);
    TLink* link = Link(a, b);
    // The line between the outlines is 300 long: h = (100 - 300) / 900 pulls by 66.7 each.
    link->StartPoint = {150, 100};
    link->EndPoint = {450, 100};
    Layout.Iterate(*View, Random);
    EXPECT_EQ(a->X, 150);
    EXPECT_EQ(b->X, 450);
    EXPECT_EQ(a->Y, 100);
    EXPECT_NEAR(a->LayoutVX, 200.0 / 6, 1e-9);
    EXPECT_NEAR(b->LayoutVX, -200.0 / 6, 1e-9);
}

TEST_F(LayoutTest, LinkShorterThanTheEdgeLengthPushesItsBoxesApart) {
    TFiP* a = Show(Factor("A", 40, 20), 300, 100);
    TFiP* b = Show(Factor("B", 40, 20), 300, 400);
    TLink* link = Link(a, b);
    Layout.EdgeLength = 250;
    // 40 pixels of line: h = 210 / 120, so each box moves 70 apart, clamped to 50.
    link->StartPoint = {300, 230};
    link->EndPoint = {300, 270};
    Layout.Iterate(*View, Random);
    EXPECT_EQ(a->Y, 50);
    EXPECT_EQ(b->Y, 450);
}

TEST_F(LayoutTest, NearBoxesPushEachOtherInListOrder) {
    TFiP* a = Show(Factor("A", 40, 20), 100, 100);
    TFiP* b = Show(Factor("B", 40, 20), 110, 100);
    // A sums B's repulsion only from B on: one push of 2. B has A's from the start: two pushes.
    Layout.Iterate(*View, Random);
    EXPECT_EQ(a->X, 98);
    EXPECT_EQ(b->X, 114);
    EXPECT_DOUBLE_EQ(a->LayoutVX, -1);
    EXPECT_DOUBLE_EQ(b->LayoutVX, 2);
    EXPECT_EQ(a->Y, 100);
}

TEST_F(LayoutTest, BoxesBeyondTheCutoffDoNotMove) {
    TFiP* a = Show(Factor("A", 40, 20), 100, 100);
    TFiP* b = Show(Factor("B", 40, 20), 100, 301);
    Layout.Iterate(*View, Random);
    EXPECT_EQ(Positions(*View), (std::vector<TPoint>{{100, 100}, {100, 301}}));
    EXPECT_EQ(a->LayoutVY, 0);
    EXPECT_EQ(b->LayoutVY, 0);
}

TEST_F(LayoutTest, BoxesOnOneCentreAreSeparatedByRandomPushes) {
    TFiP* a = Show(Factor("A", 40, 20), 200, 200);
    TFiP* b = Show(Factor("B", 40, 20), 200, 200);
    Random.Seed(7);
    for (int step = 0; step < 5; ++step) {
        Layout.Step(*View, Random);
    }
    EXPECT_NE(Positions(*View)[0], Positions(*View)[1]);
    EXPECT_GT(std::abs(a->X - b->X) + std::abs(a->Y - b->Y), 20);
}

TEST_F(LayoutTest, StopZeroesEveryVelocity) {
    TPerception& tangle = BuildTangledPerception(Case, 12, 3);
    for (int step = 0; step < 10; ++step) {
        Layout.Step(tangle, Random);
    }
    TLayout::Stop(tangle);
    for (const auto& fip : tangle.FiPs) {
        EXPECT_EQ(fip->LayoutVX, 0);
        EXPECT_EQ(fip->LayoutVY, 0);
    }
}

// Two runs on the same diagram with the same seed give the same boxes, step by step.
TEST(LayoutRun, RepeatsExactlyWithTheSameSeed) {
    const auto run = [](std::uint32_t seed) {
        TCaseFixture fixture;
        TPerception& tangle = BuildTangledPerception(fixture.Case, 30, 11, 60);
        // Two boxes on one centre make the run draw random numbers.
        tangle.FiPs[1]->X = tangle.FiPs[0]->X;
        tangle.FiPs[1]->Y = tangle.FiPs[0]->Y;
        TLayout layout;
        layout.Fit(tangle);
        fixture.Context.Random.Seed(seed);
        std::vector<TPoint> positions;
        for (int step = 0; step < 100; ++step) {
            layout.Step(tangle, fixture.Context.Random);
        }
        for (const auto& fip : tangle.FiPs) {
            positions.push_back({fip->X, fip->Y});
        }
        return positions;
    };
    EXPECT_EQ(run(42), run(42));
    EXPECT_NE(run(42), run(43));
}

struct TRectangleCase {
    int EdgeLength;
    int MaxX;
    int MaxY;
};

class LayoutInvariants : public ::testing::TestWithParam<TRectangleCase> {};

// No box centre leaves the rectangle and no box moves more than 50 pixels along an axis.
TEST_P(LayoutInvariants, BoxesStayInTheRectangleAndMoveAtMostFiftyPixels) {
    TCaseFixture fixture;
    TPerception& tangle = BuildTangledPerception(fixture.Case, 30, 5);
    TLayout layout;
    layout.Fit(tangle);
    layout.EdgeLength = GetParam().EdgeLength;
    layout.MaxX = GetParam().MaxX;
    layout.MaxY = GetParam().MaxY;
    // The first step may bring boxes from outside into the rectangle.
    layout.Step(tangle, fixture.Context.Random);
    for (int step = 0; step < 200; ++step) {
        std::vector<TPoint> before;
        for (const auto& fip : tangle.FiPs) {
            before.push_back({fip->X, fip->Y});
        }
        layout.Step(tangle, fixture.Context.Random);
        for (std::size_t i = 0; i < tangle.FiPs.size(); ++i) {
            const TFiP& fip = *tangle.FiPs[i];
            ASSERT_GE(fip.X, layout.MinX);
            ASSERT_LE(fip.X, layout.MaxX);
            ASSERT_GE(fip.Y, layout.MinY);
            ASSERT_LE(fip.Y, layout.MaxY);
            ASSERT_LE(std::abs(fip.X - before[i].X), TLayout::kMaxStep);
            ASSERT_LE(std::abs(fip.Y - before[i].Y), TLayout::kMaxStep);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rectangles, LayoutInvariants,
                         ::testing::Values(TRectangleCase{100, 1600, 1000},
                                           TRectangleCase{50, 300, 200},
                                           TRectangleCase{250, 400, 900},
                                           TRectangleCase{250, 200, 200}));

TEST(LayoutRun, KeepsEveryBoxInsideTheDrawingAreaSoTheDiagramIsNeverShifted) {
    TCaseFixture fixture;
    TPerception& tangle = BuildTangledPerception(fixture.Case, 30, 9);
    TLayout layout;
    layout.Fit(tangle);
    layout.EdgeLength = 250;
    for (int step = 0; step < 200; ++step) {
        layout.Iterate(tangle, fixture.Context.Random);
        const std::vector<TPoint> before = [&] {
            std::vector<TPoint> positions;
            for (const auto& fip : tangle.FiPs) {
                positions.push_back({fip->X, fip->Y});
            }
            return positions;
        }();
        PlacePerception(tangle);
        ASSERT_EQ(tangle.FiPs.front()->X, before.front().X) << "shifted after step " << step;
        ASSERT_EQ(tangle.FiPs.front()->Y, before.front().Y) << "shifted after step " << step;
        for (const auto& link : tangle.Links) {
            StoreLinkPoints(*link);
        }
    }
}

// A tangle of 30 boxes is untangled: after 200 steps fewer boxes overlap and fewer links cross.
TEST(LayoutRun, UntanglesGeneratedPerceptions) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        TCaseFixture fixture;
        TPerception& tangle = BuildTangledPerception(fixture.Case, 30, seed);
        TLayout layout;
        layout.Fit(tangle);
        PlacePerception(tangle);
        for (const auto& link : tangle.Links) {
            StoreLinkPoints(*link);
        }
        const int overlapsBefore = OverlappingBoxes(tangle);
        const int crossingsBefore = CrossingLinks(tangle);
        for (int step = 0; step < 200; ++step) {
            layout.Step(tangle, fixture.Context.Random);
        }
        EXPECT_LT(OverlappingBoxes(tangle), overlapsBefore) << "seed " << seed;
        EXPECT_LT(CrossingLinks(tangle), crossingsBefore) << "seed " << seed;
    }
}

}  // namespace
}  // namespace kavo::test
