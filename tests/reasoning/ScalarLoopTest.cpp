#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "reasoning/Inference.h"
#include "reasoning/TStrategy.h"
#include "support/TGeneratedPerception.h"
#include "support/TScalarLoop.h"

namespace kavo {
namespace {

// The benchmarks measure the strategy search against a plain loop over the same perceptions; the
// comparison means something only while both compute the same utilities, scores and ties.
TEST(ScalarLoop, ComputesWhatTheStrategySearchComputes) {
    for (const int fips : {20, 40, 80}) {
        test::TGeneratedPerception generated(fips);
        TPerception& perception = *generated.Build.Perception;
        InferInfluences(perception);
        test::TScalarLoop loop(perception, generated.Actions);
        TStrategy strategy(&perception, 0);
        for (TFiP* action : generated.Actions) {
            strategy.Tactics.push_back({action, 0, true});
        }
        test::TDraws draws(static_cast<std::uint32_t>(fips));
        for (int i = 0; i < 50; ++i) {
            std::vector<std::int8_t> levels;
            for (TTactic& tactic : strategy.Tactics) {
                tactic.Level = static_cast<std::int8_t>(draws.Below(7) - 3);
                levels.push_back(tactic.Level);
            }
            strategy.Evaluate();
            ASSERT_EQ(strategy.UtilityDist.Count(), 1);
            EXPECT_EQ(loop.Utility(levels), strategy.UtilityDist[0].Value) << fips;
        }
        strategy.Search();
        const test::TScalarLoop::TResult result = loop.Search();
        EXPECT_EQ(result.Evaluations, strategy.EvaluationCount) << fips;
        EXPECT_EQ(result.Best, strategy.BestScore) << fips;
        EXPECT_EQ(result.Worst, strategy.WorstScore) << fips;
        EXPECT_EQ(result.BestTies, static_cast<std::int64_t>(strategy.BestStrategies.size()));
        EXPECT_EQ(result.WorstTies, static_cast<std::int64_t>(strategy.WorstStrategies.size()));
    }
}

}  // namespace
}  // namespace kavo
