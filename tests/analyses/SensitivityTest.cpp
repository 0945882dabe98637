#include <gtest/gtest.h>

#include "analyses/Sensitivity.h"
#include "model/TProspect.h"
#include "reasoning/Inference.h"
#include "reasoning/TStrategy.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// An action that reaches a goal whose factor may already move by itself, a goal out of any
// action's reach whose factor may or may not move, and an uncertain link to a third goal.
class SensitivityTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    SensitivityTest() {
        Action = Build.Action("Irrigate");
        TFiP* crops = Build.Factor("Crops");
        TFiP* rain = Build.Factor("Rain");
        TFiP* wells = Build.Factor("Wells");
        Build.Link(Action, crops, 2);
        Build.Goal(crops, 2);
        Build.Goal(rain, 2);
        Build.Goal(wells, -1, 1);
        // With the default options, change level +2 is a change of 2 and link level +2 is 1.
        CropsProspect = Build.Prospect(crops, {{0.5, 0}, {0.5, 2}});
        RainProspect = Build.Prospect(rain, {{0.5, 0}, {0.5, 2}});
        Build.Link(Action, wells, 1, 2);
    }

    test::TPerceptionBuilder Build{Case};
    TFiP* Action;
    TProspect* CropsProspect;
    TProspect* RainProspect;
};

TEST_F(SensitivityTest, RanksItemsBySwingAndTellsWhenTheStrategyChanges) {
    const TSensitivity result = FindSensitivity(*Build.Perception);
    ASSERT_TRUE(result.Complete);
    ASSERT_EQ(result.Actions, std::vector<TFiP*>{Action});
    ASSERT_EQ(result.Items.size(), 3u);

    // Rain moves the score most (no action helps) but never the strategy.
    const TSensitivityItem& rain = result.Items[0];
    EXPECT_EQ(std::get<TProspect*>(rain.Item), RainProspect);
    EXPECT_GT(rain.Swing, result.Items[1].Swing);
    EXPECT_FALSE(rain.ChangesStrategy);
    ASSERT_EQ(rain.Values.size(), 2u);
    EXPECT_EQ(rain.Values[0].Value, 0);
    EXPECT_EQ(rain.Values[1].Level, 2);
    EXPECT_EQ(rain.Values[0].Probability, 0.5);
    EXPECT_LT(rain.Values[0].Best.Score, rain.Values[1].Best.Score);

    // When the crops stay, irrigating helps (as far as the wells allow); when they rise by
    // themselves, it does not: the strategy changes.
    const auto crops =
        std::find_if(result.Items.begin(), result.Items.end(), [&](const auto& item) {
            return std::get_if<TProspect*>(&item.Item) != nullptr &&
                   std::get<TProspect*>(item.Item) == CropsProspect;
        });
    ASSERT_NE(crops, result.Items.end());
    EXPECT_TRUE(crops->ChangesStrategy);
    EXPECT_GT(crops->Values[0].Best.Levels[0], 0);
    EXPECT_EQ(crops->Values[1].Best.Levels, std::vector<std::int8_t>{0});
    EXPECT_EQ(crops->Values[0].Best.SampledCombinations, 0u);
    EXPECT_EQ(CropsProspect->Distribution.Count(), 2);
}

// With every combination visited, a value's best strategy and score are those of a search with the
// item held at that value, under every rationality that scores.
TEST_F(SensitivityTest, ValueScoresEqualSearchesWithTheItemHeld) {
    for (int rationality : {0, 1, 3, 4, 6, 7}) {
        Build.Perception->Rationality = static_cast<std::uint8_t>(rationality);
        const TSensitivity result = FindSensitivity(*Build.Perception);
        for (const TSensitivityItem& item : result.Items) {
            TProVal& distribution = std::visit(
                [](auto* record) -> TProVal& { return record->Distribution; }, item.Item);
            const TProVal kept = distribution;
            for (const TSensitivityValue& value : item.Values) {
                distribution.Clear();
                distribution.Add(Case, 1, value.Value);
                CollectUncertainItems(*Build.Perception);
                TStrategy held(Build.Perception, rationality);
                held.Tactics.push_back({Action, 0, true});
                held.Search();
                distribution = kept;
                EXPECT_NEAR(value.Best.Score, held.BestScore, 1e-12) << rationality;
                ASSERT_EQ(value.Best.Ties, held.BestStrategies.size()) << rationality;
                EXPECT_TRUE(value.Best.Among({held.BestStrategies.front()->Tactics[0].Level}))
                    << rationality;
            }
        }
    }
}

TEST_F(SensitivityTest, WithoutGoalsEveryStrategyTies) {
    Build.Perception->Goals.clear();
    const TSensitivity result = FindSensitivity(*Build.Perception);
    EXPECT_EQ(result.Base.Levels, std::vector<std::int8_t>{0});
    ASSERT_EQ(result.Items.size(), 3u);
    for (const TSensitivityItem& item : result.Items) {
        EXPECT_EQ(item.Swing, 0);
        EXPECT_FALSE(item.ChangesStrategy);
    }
}

}  // namespace
}  // namespace kavo
