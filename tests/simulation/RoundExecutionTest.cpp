#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "casefile/TCaseReader.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "reasoning/TStrategy.h"
#include "simulation/SimulationFixture.h"

namespace kavo {
namespace {

using test::TPerceptionBuilder;

using Pairs = std::vector<TPVPair>;

class RoundExecutionTest : public test::TSimulationFixture, public ::testing::Test {
  protected:
    std::vector<TActionLevel> Levels(std::initializer_list<std::pair<const char*, int>> list) {
        std::vector<TActionLevel> levels;
        for (const auto& [name, level] : list) {
            levels.push_back({Case.FactorList.Find(name), level});
        }
        return levels;
    }
};

TEST_F(RoundExecutionTest, NextRoundNeedsRoundZeroAndARoundToStartFrom) {
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Factor("Rain"), 1);
    TRoundExecution execution(Case);
    EXPECT_FALSE(execution.Run(p.Arena).has_value());
    TArena* zero = Compile();
    EXPECT_FALSE(execution.Run(p.Arena).has_value());
    EXPECT_FALSE(execution.Run(nullptr).has_value());
    EXPECT_EQ(Warnings(), (std::vector<std::string>{
                              "Compile and check initial state (*Round 0) first",
                              "Select round to start from", "Select round to start from"}));
    const TRoundReport report = Next(zero);
    ASSERT_NE(report.Round, nullptr);
    EXPECT_EQ(report.Round->Name, "*Round  1");
    EXPECT_EQ(report.Number, 1);
    EXPECT_NE(FindRound(Case, 0), nullptr);
}

// P acts first and owns a; Q owns b. Each wants its goal factor at +2 and perceives both actions
// adding to it. Alone, each would act at +2; P, seeing b held where Q's rating of the previous
// round puts it, needs no action; Q sees a at P's choice of this round, not at P's own rating.
TEST_F(RoundExecutionTest, ActorsSeeEarlierChoicesAndExpectTheOthersToRepeat) {
    // Goals stay as they are, so that every round asks the same.
    Case.AdaptGoals = false;
    TPerceptionBuilder& p = In("W", "P");
    TPerceptionBuilder& q = In("W", "Q");
    const auto wants = [this](TPerceptionBuilder& actor, const char* own, const char* other,
                              const char* owner, const char* goal) {
        TFiP* target = actor.Factor(goal);
        actor.Link(actor.Action(own), target);
        actor.Link(OthersAction(actor, other, owner), target);
        actor.Goal(target, 2);
    };
    wants(p, "a", "b", "Q", "X");
    wants(q, "b", "a", "P", "Y");

    const TRoundReport first = Next(Compile());
    ASSERT_EQ(first.Turns.size(), 2u);
    EXPECT_EQ(first.Turns[0].Actor->Actor->Name, "P");
    EXPECT_EQ(first.Turns[0].Fixed, Levels({{"b [Q]", 2}}));
    EXPECT_EQ(first.Turns[1].Fixed, Levels({{"a [P]", 0}}));
    EXPECT_EQ(first.ChosenActions, Levels({{"a [P]", 0}, {"b [Q]", 2}}));
    EXPECT_EQ(StateOf(*first.Round, "X")->RoundValue, 2);

    // Q goes first now and expects a at P's choice of round 1.
    TEdit raise;
    MovePriority(raise, *first.Round, *RecordOf(*first.Round, "Q"), -1);
    const TRoundReport second = Next(first.Round);
    EXPECT_EQ(second.Turns[0].Actor->Actor->Name, "Q");
    EXPECT_EQ(second.Turns[0].Fixed, Levels({{"a [P]", 0}}));
    EXPECT_EQ(second.ChosenActions, Levels({{"b [Q]", 2}, {"a [P]", 0}}));
}

TEST_F(RoundExecutionTest, FlowsTakeTheRoundsChangeAndStocksGrow) {
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Factor("Flow"), 1);
    p.Prospect(p.Show(Stock("Stock")), 1);
    p.Prospect(p.Show(Stock("Decline")), -2);
    TArena* round = Compile();
    const std::vector<std::vector<double>> expected{{1, 1, -2}, {1, 2.1, -3.6}, {1, 3.31, -4.88}};
    for (const auto& values : expected) {
        round = Next(round).Round;
        EXPECT_EQ(StateOf(*round, "Flow")->RoundValue, values[0]);
        EXPECT_NEAR(StateOf(*round, "Stock")->RoundValue, values[1], 1e-12);
        EXPECT_NEAR(StateOf(*round, "Decline")->RoundValue, values[2], 1e-12);
    }
}

TEST_F(RoundExecutionTest, SamplingDrawsOneValuePerRoundByItsNumber) {
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Factor("Rain"), Pairs{{0.5, 1}, {0.5, 2}});
    TArena* round = Compile();
    std::vector<double> draws;
    for (int i = 0; i < 8; ++i) {
        round = Next(round).Round;
        const TProVal& drawn = round->AnalystView->Prospects.front()->Distribution;
        ASSERT_EQ(drawn.Count(), 1);
        EXPECT_EQ(drawn[0].Prob, 1);
        draws.push_back(drawn[0].Value);
        EXPECT_EQ(StateOf(*round, "Rain")->RoundValue, drawn[0].Value);
    }
    EXPECT_NE(std::count(draws.begin(), draws.end(), 1.0), 0);
    EXPECT_NE(std::count(draws.begin(), draws.end(), 2.0), 0);
    // The same round drawn again, whatever ran in between, draws the same.
    Next(FindRound(Case, 2));
    EXPECT_EQ(FindRound(Case, 3)->AnalystView->Prospects.front()->Distribution[0].Value, draws[2]);
}

TEST_F(RoundExecutionTest, WithoutSamplingTheUncertaintyStays) {
    Case.SampleFromDistributions = false;
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Factor("Rain"), Pairs{{0.5, 1}, {0.5, 2}});
    const TArena* round = Play(2);
    EXPECT_EQ(round->AnalystView->Prospects.front()->Distribution.Pairs(),
              (Pairs{{0.5, 1}, {0.5, 2}}));
    EXPECT_EQ(StateOf(*round, "Rain")->Change.Pairs(), (Pairs{{0.5, 1}, {0.5, 2}}));
    EXPECT_DOUBLE_EQ(StateOf(*round, "Rain")->RoundValue, 1.5);
}

// Goals adapt to the change accumulated before the round: X rises by one level a round. A goal
// dropped by adaptation leaves the round's perception.
TEST_F(RoundExecutionTest, GoalsAdaptToWhatWasAchieved) {
    TPerceptionBuilder& w = In("W", "P");
    TFiP* x = w.Show(Stock("X"));
    w.Prospect(x, 1);
    w.Goal(x, 1);
    w.Goal(w.Factor("Unchanged"), 1);
    TPerceptionBuilder& e = In("E", "P");
    e.Goal(e.Show(Stock("X")), 2);
    TPerceptionBuilder& d = In("D", "P");
    TFiP* fall = d.Factor("Fall");
    d.Prospect(d.Factor("Source"), -3);
    d.Link(d.Factor("Source"), fall, 3);
    d.Goal(fall, 1, 2, TGoalType::gtNegative);

    const auto goals = [this](const TArena& round) {
        std::vector<std::string> list;
        for (const auto& goal : RecordOf(round, "P")->Perception->Goals) {
            list.push_back(goal->FiP->Factor->Name +
                           (goal->GoalType == TGoalType::gtNegative ? " neg " : " std ") +
                           std::to_string(goal->Level) + "p" + std::to_string(goal->Priority));
        }
        std::sort(list.begin(), list.end());
        return list;
    };
    TArena* first = Next(Compile()).Round;
    EXPECT_EQ(goals(*first), (std::vector<std::string>{"Fall neg 1p2", "Unchanged std 1p2",
                                                       "X std 1p2", "X std 2p2"}));
    // X has risen by 1 and Fall by 8 (-4 doubled): the goals on X ask for what is still missing,
    // the negative goal on Fall is past caring.
    const TArena* second = Next(first).Round;
    EXPECT_EQ(goals(*second),
              (std::vector<std::string>{"Unchanged std 1p2", "X std 0p2", "X std 1p2"}));
}

TEST_F(RoundExecutionTest, MissingPiecesAreReportedAndTheRoundGoesOn) {
    struct TCaseOfMissing {
        const char* Name;
        std::function<void(TPerception& reality)> Remove;
        std::vector<std::string> Messages;
    };
    const std::vector<TCaseOfMissing> cases{
        {"prospect",
         [](TPerception& reality) { reality.Remove(reality.Prospects.front().get()); },
         {"No prospect defined for \"Rain\" in *Round  0"}},
        {"link",
         [](TPerception& reality) { reality.Remove(reality.Links.front().get()); },
         {"Link not found", "Link between\"Rain\" and \"Harvest\" undefined in *Round  0"}},
        {"action",
         [](TPerception& reality) {
             reality.Remove(reality.FindFiP(reality.Case()->FactorList.Find("Dam [P]")));
         },
         {"Factor \"Dam [P]\" undefined in *Round 0", "Link not found",
          "Link between\"Dam [P]\" and \"Harvest\" undefined in *Round  0"}},
    };
    for (const TCaseOfMissing& c : cases) {
        SCOPED_TRACE(c.Name);
        test::TSimulationFixture fixture;
        TPerceptionBuilder& p = fixture.In("W", "P");
        p.Prospect(p.Factor("Rain"), Pairs{{0.5, 1}, {0.5, 2}});
        p.Link(p.Factor("Rain"), p.Factor("Harvest"), 2, 1);
        p.Link(p.Action("Dam"), p.Factor("Harvest"));
        TArena* zero = fixture.Compile();
        TArena* first = fixture.Next(zero).Round;
        c.Remove(*zero->AnalystView);
        fixture.Messages.Log.clear();
        EXPECT_NE(fixture.Next(first).Round, nullptr);
        EXPECT_EQ(fixture.Warnings(), c.Messages);
    }
}

TEST_F(RoundExecutionTest, RerunningFromAnEarlierRoundReplacesTheLaterOnes) {
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Show(Stock("Rain")), Pairs{{0.3, 1}, {0.7, -1}});
    Play(3);
    const std::vector<std::string> before = Document(Case);
    const double third = StateOf(*FindRound(Case, 3), "Rain")->RoundValue;
    const auto later = TakeRoundsFrom(Case, 2);
    ASSERT_EQ(later.size(), 2u);
    EXPECT_EQ(FindRound(Case, 2), nullptr);
    TArena* second = Next(FindRound(Case, 1)).Round;
    EXPECT_EQ(second->Name, "*Round  2");
    EXPECT_EQ(FindRound(Case, 3), nullptr);
    Next(second);
    EXPECT_EQ(StateOf(*FindRound(Case, 3), "Rain")->RoundValue, third);
    EXPECT_EQ(Document(Case), before);
}

TEST_F(RoundExecutionTest, TheSameCaseGivesTheSameRounds) {
    const auto build = [](test::TSimulationFixture& f) {
        TPerceptionBuilder& p = f.In("W", "P");
        TFiP* rain = p.Factor("Rain");
        TFiP* harvest = p.Show(f.Stock("Harvest"));
        p.Prospect(rain, 1, 2);
        p.Link(rain, harvest, 2, 1);
        p.Link(p.Action("Irrigate"), harvest, 1, 1);
        p.Goal(harvest, 2);
        TPerceptionBuilder& q = f.In("W", "Q");
        q.Prospect(q.Factor("Rain"), -1, 1);
        q.Link(q.Factor("Rain"), q.Factor("Price"), -2, 2);
        q.Link(f.OthersAction(q, "Irrigate", "P"), q.Factor("Price"), 1);
        q.Goal(q.Factor("Price"), -1);
        f.Play(4);
    };
    test::TSimulationFixture one;
    test::TSimulationFixture two;
    build(one);
    build(two);
    EXPECT_EQ(one.Document(one.Case), two.Document(two.Case));
}

TEST_F(RoundExecutionTest, ASavedCaseContinuesAsItWouldHave) {
    const auto build = [](test::TSimulationFixture& f) {
        TPerceptionBuilder& p = f.In("W", "P");
        TFiP* harvest = p.Factor("Harvest");
        p.Prospect(p.Show(f.Stock("Storage")), 1);
        p.Prospect(p.Factor("Rain"), 1, 1);
        p.Link(p.Factor("Rain"), harvest, 2, 2);
        p.Link(p.Action("Irrigate"), harvest, 1);
        p.Goal(harvest, 3);
        f.Play(2);
    };
    test::TSimulationFixture original;
    build(original);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kavo-simulation-save";
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(WriteCase(original.Case, folder.string() + "/"));
    test::TSimulationFixture read;
    ASSERT_EQ(ReadCase(read.Case, folder.string() + "/"), TReadOutcome::roRead);
    std::filesystem::remove_all(folder);

    original.Next(FindRound(original.Case, 2));
    read.Next(FindRound(read.Case, 2));
    EXPECT_EQ(original.Document(original.Case), read.Document(read.Case));
}

// Eight uncertain prospects of three pairs each make 6,561 combinations, beyond the 4,096 an
// evaluation visits; kept uncertain, the pseudo-reality is estimated as well.
TEST_F(RoundExecutionTest, TooManyUncertainCombinationsAreSampled) {
    Case.SampleFromDistributions = false;
    TPerceptionBuilder& p = In("W", "P");
    TFiP* total = p.Factor("Total");
    for (int i = 0; i < 8; ++i) {
        TFiP* cause = p.Factor("Cause " + std::to_string(i));
        p.Prospect(cause, 1, 1);
        p.Link(cause, total);
    }
    p.Link(p.Action("Act"), total);
    p.Goal(total, 3);
    const TRoundReport report = Next(Compile());
    EXPECT_EQ(report.SampledCombinations, 4096u);
    ASSERT_EQ(report.Turns.size(), 1u);
    EXPECT_EQ(report.Turns[0].SampledCombinations, 4096u);
    // Eight causes of mean 1, and whatever the action adds.
    EXPECT_NEAR(StateOf(*report.Round, "Total")->Change.RawMean(Case),
                8 + report.Turns[0].Best[0].Level, 0.1);
}

TEST_F(RoundExecutionTest, ACancelledRoundLeavesNothingBehind) {
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Factor("Rain"), 1);
    TArena* first = Next(Compile()).Round;
    Context.AnalysisCancelled = true;
    const TRoundReport report = Next(first);
    EXPECT_TRUE(report.Cancelled);
    EXPECT_EQ(report.Round, nullptr);
    EXPECT_EQ(FindRound(Case, 2), nullptr);
    EXPECT_EQ(Case.ArenaList.Size(), 3);
}

}  // namespace
}  // namespace kavo
