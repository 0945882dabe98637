#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "reasoning/GoalEvaluation.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using Pairs = std::vector<TPVPair>;
using Utilities = TLevels<std::int8_t>;

class GoalEvaluationTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    GoalEvaluationTest() {
        TArena* arena = Case.FindOrCreateArena("Water");
        View = arena->AnalystView.get();
        View->Add(std::make_unique<TFiP>(Case.FindOrCreateFactor("Level")));
        FiP = View->FiPs.front().get();
    }

    TGoal Standard(int level, int priority) {
        return TGoal(Case, FiP, TGoalType::gtStandard, level, priority);
    }
    TGoal Negative(int level, int priority) {
        return TGoal(Case, FiP, TGoalType::gtNegative, level, priority);
    }
    TGoal Custom(const Utilities& utilities) { return TGoal(FiP, utilities); }
    TProVal Change(int level, int degree) {
        TProVal change;
        change.SetChange(Case, level, degree);
        return change;
    }

    std::vector<std::string> Log() const {
        std::vector<std::string> texts;
        for (const test::TMessage& message : Messages.Log) {
            texts.push_back(message.Text);
        }
        return texts;
    }

    TPerception* View;
    TFiP* FiP;
};

TEST_F(GoalEvaluationTest, CertainChangeOnAStandardGoal) {
    const TGoal goal = Standard(1, 2);
    ASSERT_EQ(goal.Utilities, (Utilities{{-3, -3, -2, -1, 2, 1, 0}}));
    const TProVal change = Change(2, 0);
    EXPECT_EQ(Utility(goal, change).Pairs(), (Pairs{{1, 0.25}}));
    EXPECT_EQ(Satisfaction(goal, change).Pairs(), (Pairs{{1, 0.5}}));
    EXPECT_EQ(Frustration(goal, change).Pairs(), (Pairs{{1, 0}}));
    EXPECT_EQ(Utility(goal, change).Kind, TProValKind::pvUtility);
    EXPECT_EQ(Satisfaction(goal, change).Cumulation, 1);
}

// The probability of levels without satisfaction or frustration is left out of those
// distributions.
TEST_F(GoalEvaluationTest, UncertainChangeLeavesOutLevelsWithoutEffect) {
    const TGoal goal = Standard(1, 2);
    const TProVal change = Change(0, 1);
    EXPECT_EQ(Utility(goal, change).Pairs(), (Pairs{{0.1, -0.5}, {0.8, -0.25}, {0.1, 0.5}}));
    EXPECT_EQ(Satisfaction(goal, change).Pairs(), (Pairs{{0.1, 1}}));
    EXPECT_EQ(Frustration(goal, change).Pairs(), (Pairs{{0.8, 0.25}, {0.1, 0.5}}));
    EXPECT_TRUE(Log().empty());
}

TEST_F(GoalEvaluationTest, GoalsWithoutPositiveUtility) {
    const TGoal negative = Negative(1, 2);  // 0, 0, 0, 0, -2, -3, -3
    const TProVal calm = Satisfaction(negative, Change(0, 1));
    ASSERT_EQ(calm.Count(), 1);
    EXPECT_NEAR(calm[0].Prob, 0.9, 1e-12);
    EXPECT_EQ(calm[0].Value, 1);
    EXPECT_EQ(Satisfaction(negative, Change(2, 0)).Pairs(), (Pairs{{1, 0}}));
    const TGoal hopeless = Custom({{-3, -2, -1, -1, -1, -2, -3}});
    EXPECT_EQ(Satisfaction(hopeless, Change(0, 2)).Pairs(), (Pairs{{1, 0}}));
    EXPECT_TRUE(IsNegative(negative));
    EXPECT_FALSE(IsNegative(Standard(0, 1)));
}

TEST_F(GoalEvaluationTest, DistributionOfAnotherKindIsReported) {
    const TGoal goal = Standard(1, 2);
    TProVal utility(TProValKind::pvUtility);
    utility.Add(Case, 1, 0.5);
    utility.Cumulation = 1;
    Utility(goal, utility);
    Satisfaction(goal, utility);
    Frustration(goal, utility);
    const std::vector<std::string> expected{
        "Calculate utility of change only",      "Convert only changes and links to ProbVectors",
        "Calculate satisfaction of change only", "Convert only changes and links to ProbVectors",
        "Calculate frustration of change only",  "Convert only changes and links to ProbVectors"};
    EXPECT_EQ(Log(), expected);
}

TEST_F(GoalEvaluationTest, SingleValues) {
    const TGoal goal = Standard(-3, 2);  // 2, 1, 0, -2, -3, -3, -3
    EXPECT_DOUBLE_EQ(UtilityOf(goal, -4), 0.5);
    EXPECT_DOUBLE_EQ(SatisfactionOf(goal, -2), 0.5);
    // Not clipped: utility -3 against a best utility of +2 is -4 / 2.
    EXPECT_DOUBLE_EQ(SatisfactionOf(goal, 1), -2);
    EXPECT_DOUBLE_EQ(FrustrationOf(goal, 0), 0.5);
    EXPECT_DOUBLE_EQ(FrustrationOf(goal, -4), -0.5);
    const TGoal neutral = Custom({{0, 0, 0, 0, 0, 0, 0}});
    EXPECT_DOUBLE_EQ(FrustrationOf(neutral, 2), 0);
}

// A goal with nothing to win is satisfied only where it loses nothing, as the distribution form
// counts it.
TEST_F(GoalEvaluationTest, SatisfactionOfANegativeGoalFollowsItsUtility) {
    const TGoal negative = Negative(1, 2);
    EXPECT_DOUBLE_EQ(SatisfactionOf(negative, 0), 1);
    EXPECT_DOUBLE_EQ(SatisfactionOf(negative, 2), 0);
}

TEST_F(GoalEvaluationTest, StakeAndInterest) {
    const TGoal goal = Standard(3, 3);
    EXPECT_NEAR(Interest(Case, goal), 37.0 / 48, 1e-12);
    EXPECT_DOUBLE_EQ(Stake(Case, goal), 1);
    EXPECT_DOUBLE_EQ(Stake(Case, Negative(-1, 1)), 4.0 / 8);
}

TEST_F(GoalEvaluationTest, ConflictCountsLevelsWantedByOneGoalOnly) {
    const TGoal first = Custom({{2, 1, 0, -2, -3, -3, -3}});
    const TGoal second = Custom({{-3, -3, -2, -1, 2, 1, 0}});
    EXPECT_NEAR(GoalConflict(first, second), 26.0 / 28, 1e-12);
    EXPECT_DOUBLE_EQ(GoalConflict(first, first), 0);
}

TEST_F(GoalEvaluationTest, MirrorReflectsTheUtilities) {
    TGoal goal = Standard(1, 2);
    Mirror(goal);
    EXPECT_EQ(goal.Utilities, (Utilities{{0, 1, 2, -1, -2, -3, -3}}));
    EXPECT_EQ(goal.Level, -1);
    EXPECT_EQ(goal.GoalType, TGoalType::gtStandard);
}

struct TAdaptCase {
    TGoalType InitialType;
    int InitialLevel;
    int InitialPriority;
    int Achieved;  // change level reached, -3..+3; 5 and 6 lie beyond the scale
    TGoalType Type;
    int Level;
    int Priority;
};

TEST_F(GoalEvaluationTest, AdaptGoalToTheChangeAchieved) {
    const auto S = TGoalType::gtStandard;
    const auto N = TGoalType::gtNegative;
    const std::vector<TAdaptCase> cases{
        {S, 2, 2, 0, S, 2, 2},  {S, 2, 2, 2, S, 0, 2},   {S, 2, 2, 5, S, -3, 2},
        {S, 2, 2, -3, S, 3, 3}, {S, 3, 2, 3, N, -1, 2},  {S, 3, 1, 6, S, 0, 0},
        {S, 0, 2, -2, S, 2, 2}, {N, -1, 1, -2, S, 2, 3}, {N, 2, 2, 1, N, 1, 2},
        {N, 2, 3, -1, N, 3, 3}, {N, 1, 2, -5, N, 0, 0},
    };
    // With the default change levels (1, 2, 4 and a top step of 2), these values reach the levels.
    const auto valueOf = [](int level) {
        const double magnitudes[] = {0, 1, 2, 4, 6, 8, 10};
        return (level < 0 ? -1 : 1) * magnitudes[std::abs(level)];
    };
    for (const TAdaptCase& c : cases) {
        const TGoal initial(Case, FiP, c.InitialType, c.InitialLevel, c.InitialPriority);
        TGoal goal = initial;
        AdaptGoal(goal, initial, valueOf(c.Achieved));
        SCOPED_TRACE(testing::Message()
                     << "initial level " << c.InitialLevel << ", achieved " << c.Achieved);
        EXPECT_EQ(goal.GoalType, c.Type);
        EXPECT_EQ(goal.Level, c.Level);
        EXPECT_EQ(goal.Priority, c.Priority);
        if (c.Priority > 0) {
            const TUtilityVectors& table =
                c.Type == S ? Case.StdUtilityVectors : Case.NegUtilityVectors;
            EXPECT_EQ(goal.Utilities, table.Row(c.Priority, c.Level));
        } else {
            EXPECT_EQ(goal.Utilities, initial.Utilities);
        }
    }
}

TEST_F(GoalEvaluationTest, CustomGoalKeepsItsUtilitiesWhenNothingChanged) {
    const TGoal initial = Custom({{1, 0, 0, 0, 0, 0, -1}});
    TGoal goal = Standard(2, 2);
    AdaptGoal(goal, initial, 0);
    EXPECT_EQ(goal.GoalType, TGoalType::gtCustom);
    EXPECT_EQ(goal.Utilities, initial.Utilities);
    EXPECT_EQ(goal.Level, -3);
}

TEST_F(GoalEvaluationTest, UtilityIconName) {
    const TGoal goal = Custom({{0, 1, 2, -1, -2, -3, -3}});
    EXPECT_EQ(UtilityIconName(goal), "u012-1-2-3-3");
}

}  // namespace
}  // namespace kavo
