#include <gtest/gtest.h>

#include "analyses/Sensitivity.h"
#include "model/TProspect.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// An action that reaches a goal whose factor may already move by itself, and a goal out of any
// action's reach whose factor may or may not move.
class SensitivityTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    SensitivityTest() {
        Action = Build.Action("Irrigate");
        TFiP* crops = Build.Factor("Crops");
        TFiP* rain = Build.Factor("Rain");
        Build.Link(Action, crops, 2);
        Build.Goal(crops, 2);
        Build.Goal(rain, 2);
        // With the default options, change level +2 is a change of 2 and link level +2 is 1.
        CropsProspect = Build.Prospect(crops, {{0.5, 0}, {0.5, 2}});
        RainProspect = Build.Prospect(rain, {{0.5, 0}, {0.5, 2}});
    }

    test::TPerceptionBuilder Build{Case};
    TFiP* Action;
    TProspect* CropsProspect;
    TProspect* RainProspect;
};

TEST_F(SensitivityTest, HoldsEachValueAndRanksBySwing) {
    const TSensitivity result = FindSensitivity(*Build.Perception);
    ASSERT_TRUE(result.Complete);
    ASSERT_EQ(result.Actions, std::vector<TFiP*>{Action});
    ASSERT_EQ(result.Items.size(), 2u);

    // Rain moves the score (no action helps) but never the strategy.
    const TSensitivityItem& rain = result.Items[0];
    EXPECT_EQ(std::get<TProspect*>(rain.Item), RainProspect);
    EXPECT_GT(rain.Swing, 0);
    EXPECT_FALSE(rain.ChangesStrategy);
    ASSERT_EQ(rain.Values.size(), 2u);
    EXPECT_EQ(rain.Values[0].Value, 0);
    EXPECT_EQ(rain.Values[1].Level, 2);
    EXPECT_LT(rain.Values[0].Best.Score, rain.Values[1].Best.Score);

    // Crops reach the goal either way, by irrigating +2 when they stay and not at all when they
    // rise by themselves: the score stays, the strategy changes.
    const TSensitivityItem& crops = result.Items[1];
    EXPECT_EQ(std::get<TProspect*>(crops.Item), CropsProspect);
    EXPECT_EQ(crops.Swing, 0);
    EXPECT_TRUE(crops.ChangesStrategy);
    EXPECT_EQ(crops.Values[0].Best.Levels, std::vector<std::int8_t>{2});
    EXPECT_EQ(crops.Values[1].Best.Levels, std::vector<std::int8_t>{0});
    EXPECT_EQ(crops.Values[0].Best.Ties, 1u);
    EXPECT_EQ(crops.Values[0].Best.SampledCombinations, 0u);

    // The items are as they were.
    EXPECT_EQ(CropsProspect->Distribution.Count(), 2);
    EXPECT_EQ(Build.Perception->UncertainItems.size(), 2u);
    EXPECT_FALSE(Build.Perception->ResultsValid[TPerception::StrategiesFound]);
}

TEST_F(SensitivityTest, TiesAndAPerceptionWithoutUncertaintyAreReported) {
    // Without goals every strategy ties; the least action stands for them.
    Build.Perception->Goals.clear();
    CropsProspect->Distribution.Clear();
    CropsProspect->Distribution.Add(Case, 1, 0);
    const TSensitivity result = FindSensitivity(*Build.Perception);
    EXPECT_EQ(result.Base.Levels, std::vector<std::int8_t>{0});
    ASSERT_EQ(result.Items.size(), 1u);
    EXPECT_EQ(result.Items[0].Swing, 0);
    EXPECT_FALSE(result.Items[0].ChangesStrategy);
}

}  // namespace
}  // namespace kavo
