#include <gtest/gtest.h>

#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "simulation/SimulationFixture.h"

namespace kavo {
namespace {

using test::TPerceptionBuilder;

using Pairs = std::vector<TPVPair>;

class RoundZeroTest : public test::TSimulationFixture, public ::testing::Test {};

TEST(RoundNamesTest, NamesNumbersAndOrder) {
    const std::vector<std::pair<int, std::string>> names{
        {0, "*Round  0"}, {1, "*Round  1"}, {10, "*Round 10"}, {100, "*Round100"}};
    test::TCaseFixture fixture;
    for (const auto& [n, name] : names) {
        EXPECT_EQ(RoundName(n), name);
        const TArena* arena = fixture.Case.FindOrCreateArena(name);
        EXPECT_EQ(RoundNumber(*arena), n);
    }
    fixture.Case.FindOrCreateArena("0 Zero");
    fixture.Case.FindOrCreateArena("Alpha");
    std::vector<std::string> order;
    for (const auto& arena : fixture.Case.ArenaList) {
        order.push_back(arena->Name);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"*Round  0", "*Round  1", "*Round 10", "*Round100",
                                               "0 Zero", "Alpha"}));
    const TArena* other = fixture.Case.FindOrCreateArena("*Roundabout");
    EXPECT_FALSE(RoundNumber(*other).has_value());
    EXPECT_TRUE(IsRoundArena(*other));
}

TEST_F(RoundZeroTest, EveryActorUnitesItsArenasInOrderOfFirstMeeting) {
    TPerceptionBuilder& pw = In("W", "P");
    pw.Link(pw.Factor("Rain"), pw.Factor("Harvest"));
    pw.Goal(pw.Factor("Harvest"), 1);
    TPerceptionBuilder& qw = In("W", "Q");
    qw.Factor("Rain");
    TPerceptionBuilder& pe = In("E", "P");
    pe.Link(pe.Factor("Price"), pe.Factor("Income"));
    pe.Goal(pe.Factor("Income"), 2);
    In("E", "Q").Factor("Price");
    // E sorts before W, so P and Q are met first in E.
    const TArena* round = Compile();

    ASSERT_EQ(round->Name, "*Round  0");
    ASSERT_EQ(round->Actors.size(), 2u);
    EXPECT_EQ(round->Actors[0]->Actor->Name, "P");
    EXPECT_EQ(round->Actors[0]->Priority, 1);
    EXPECT_EQ(round->Actors[1]->Actor->Name, "Q");
    EXPECT_EQ(round->Actors[1]->Priority, 2);
    const TPerception& p = *round->Actors[0]->Perception;
    EXPECT_EQ(p.FiPs.size(), 4u);
    EXPECT_EQ(p.Links.size(), 2u);
    EXPECT_EQ(p.Goals.size(), 2u);
    EXPECT_EQ(round->AnalystView->FiPs.size(), 4u);
    EXPECT_TRUE(round->AnalystView->Goals.empty());
    EXPECT_EQ(round->Actors[1]->Perception->FiPs.size(), 2u);
}

TEST_F(RoundZeroTest, ProspectsAndLinksAreAveragedInTheAnalystView) {
    TPerceptionBuilder& p = In("W", "P");
    TPerceptionBuilder& q = In("W", "Q");
    p.Prospect(p.Factor("Rain"), 1);
    q.Prospect(q.Factor("Rain"), 3);
    // A link into an action is the actor's own business, not the pseudo-reality's.
    p.Link(p.Factor("Rain"), p.Action("Dam"));
    const TArena* round = Compile();

    const TPerception& reality = *round->AnalystView;
    ASSERT_EQ(reality.Prospects.size(), 1u);
    const TProspect& prospect = *reality.Prospects.front();
    EXPECT_EQ(prospect.Distribution.Pairs(), (Pairs{{0.5, 1}, {0.5, 4}}));
    EXPECT_EQ(prospect.Level, 1);
    EXPECT_EQ(prospect.Uncertainty, 3);
    EXPECT_TRUE(reality.Links.empty());
    EXPECT_EQ(RecordOf(*round, "P")->Perception->Links.size(), 1u);
}

TEST_F(RoundZeroTest, GoalsOfSeveralArenasOnOneFactorStayApart) {
    TPerceptionBuilder& w = In("W", "P");
    w.Goal(w.Factor("Water"), 1);
    TPerceptionBuilder& e = In("E", "P");
    e.Goal(e.Factor("Water"), 3, 3);
    const TPerception& p = *Compile()->Actors.front()->Perception;
    ASSERT_EQ(p.FiPs.size(), 1u);
    ASSERT_EQ(p.Goals.size(), 2u);
    EXPECT_EQ(p.Goals[0]->Level, 3);
    EXPECT_EQ(p.Goals[1]->Level, 1);
}

TEST_F(RoundZeroTest, CompilingAgainReplacesEverySimulationArena) {
    TPerceptionBuilder& p = In("W", "P");
    p.Prospect(p.Factor("Rain"), 1);
    TArena* round = Compile();
    Next(Next(round).Round);
    Case.FindOrCreateArena("*Scratch");
    EXPECT_EQ(Case.ArenaList.Size(), 5);

    const auto taken = TakeSimulationArenas(Case);
    EXPECT_EQ(taken.size(), 4u);
    ASSERT_EQ(Case.ArenaList.Size(), 1);
    EXPECT_EQ(Case.ArenaList[0]->Name, "W");
    const TArena* again = CompileRound0(Case);
    EXPECT_EQ(Case.ArenaList.Size(), 2);
    EXPECT_EQ(again->Actors.size(), 1u);
}

// The document keeps a round's order of play as the order of its actors, so the list follows it.
TEST_F(RoundZeroTest, PrioritiesSwapNeighboursAndTheListFollows) {
    In("W", "P");
    In("W", "Q");
    In("W", "R");
    TArena* round = Compile();
    const auto order = [round] {
        std::string names;
        for (const auto& record : round->Actors) {
            names += record->Actor->Name + std::to_string(record->Priority);
        }
        return names;
    };
    const auto move = [round](const char* actor, int step, TEdit& edit) {
        return MovePriority(edit, *round, *RecordOf(*round, actor), step);
    };
    ASSERT_EQ(order(), "P1Q2R3");
    TEdit none;
    EXPECT_FALSE(move("P", -1, none));
    EXPECT_FALSE(move("R", 1, none));
    EXPECT_TRUE(none.Empty());
    TEdit raise;
    EXPECT_TRUE(move("R", -1, raise));
    EXPECT_EQ(order(), "P1R2Q3");
    TEdit lower;
    EXPECT_TRUE(move("P", 1, lower));
    EXPECT_EQ(order(), "R1P2Q3");
    lower.Undo();
    raise.Undo();
    EXPECT_EQ(order(), "P1Q2R3");
    raise.Redo();
    EXPECT_EQ(order(), "P1R2Q3");
}

}  // namespace
}  // namespace kavo
