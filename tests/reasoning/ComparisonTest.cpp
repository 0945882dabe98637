#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/TFactor.h"
#include "reasoning/Comparison.h"
#include "reasoning/Merge.h"
#include "reasoning/TConflict.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using Pairs = std::vector<TPVPair>;
using Lines = std::vector<std::string>;

// Two actors' perceptions of one arena.
class ComparisonTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    test::TPerceptionBuilder First{Case, "Farmer"};
    test::TPerceptionBuilder Second{Case, "Town"};
    TPerception& One = *First.Perception;
    TPerception& Two = *Second.Perception;
};

TEST_F(ComparisonTest, ConflictsAddUpByName) {
    TConflict a(TConflictKind::ckProspects);
    EXPECT_EQ(a.Mean(), 0);
    a.Count = 2;
    a.Total = 0.5;
    a.Details = {"Water=0.50", "A<->B=0,25"};
    TConflict b(TConflictKind::ckProspects);
    b.Count = 1;
    b.Total = 1;
    b.Details = {"Water=0.50", "Rain=1"};
    a.AddConflict(b);
    a.AddConflict(TConflict(TConflictKind::ckProspects));
    EXPECT_EQ(a.Details, (Lines{"Water=1", "A<->B=0,25", "Rain=1"}));
    EXPECT_EQ(a.Count, 3);
    EXPECT_DOUBLE_EQ(a.Mean(), 0.5);
    a.Clear();
    EXPECT_TRUE(a.Details.empty());
}

TEST_F(ComparisonTest, GoalsThatWantOpposites) {
    TGoal* mine = First.Goal(First.Factor("Water"), -3);
    TGoal* theirs = Second.Goal(Second.Factor("Water"), 1);
    Second.Goal(Second.Factor("Rain"), 1);
    ASSERT_EQ(mine->Utilities, (TLevels<std::int8_t>{{2, 1, 0, -2, -3, -3, -3}}));
    ASSERT_EQ(theirs->Utilities, (TLevels<std::int8_t>{{-3, -3, -2, -1, 2, 1, 0}}));
    const auto conflict = CompareGoals(One, Two);
    EXPECT_EQ(conflict->Kind, TConflictKind::ckGoals);
    EXPECT_EQ(conflict->Perception1, &One);
    EXPECT_EQ(conflict->Count, 1);
    EXPECT_NEAR(conflict->Total, 26.0 / 28, 1e-12);
    EXPECT_EQ(conflict->Details, Lines{"Water=0.93"});
}

TEST_F(ComparisonTest, ProspectsApart) {
    First.Prospect(First.Factor("Water"), 2);
    Second.Prospect(Second.Factor("Water"), -1);
    const auto conflict = CompareProspects(One, Two);
    EXPECT_EQ(conflict->Count, 1);
    EXPECT_DOUBLE_EQ(conflict->Total, 0.5);
    EXPECT_EQ(conflict->Details, Lines{"Water=0.50"});
    EXPECT_DOUBLE_EQ(conflict->Mean(), 0.5);
}

TEST_F(ComparisonTest, InfluencesBothSee) {
    First.Link(First.Factor("A"), First.Factor("B"), 2);
    First.Link(First.Factor("B"), First.Factor("C"), 2);
    Second.Link(Second.Factor("A"), Second.Factor("B"), -2);
    const auto conflict = CompareInfluences(One, Two);
    EXPECT_EQ(conflict->Count, 3);
    EXPECT_NEAR(conflict->Total, 4.0 / 9, 1e-12);
    EXPECT_EQ(conflict->Details, Lines{"A<->B=0.44"});
}

TEST_F(ComparisonTest, TacticsRatedWithOppositeSigns) {
    TFiP* x = First.Action("X");
    x->ActionRange = TActionRange{{false, false, false, true, true, false, false}};
    x->UpdateFeasibleLevels();
    First.Link(x, First.Factor("A"), 2);
    First.Goal(First.Factor("A"), 1);
    Second.Link(Second.Show(x->Factor), Second.Factor("A"), -2);
    Second.Goal(Second.Factor("A"), 1);
    const auto conflict = CompareTactics(One, Two);
    EXPECT_EQ(conflict->Count, 1);
    EXPECT_DOUBLE_EQ(conflict->Total, 0.5);
    EXPECT_EQ(conflict->Details, Lines{"X [F]=0.5 -> (0:-0.25|-0.25)(1:0.50|-0.50)"});
}

TEST_F(ComparisonTest, PreferredChanges) {
    TFiP* x = First.Action("X");
    TFiP* a = First.Factor("A");
    First.Link(x, a, -2);
    First.Goal(a, -2);
    TFiP* b = First.Factor("B");
    const TPreferredChange action = PreferredChange(One, x->Factor);
    EXPECT_TRUE(action.Valid);
    EXPECT_EQ(action.Level, 2);
    EXPECT_DOUBLE_EQ(action.Value, 0.5);
    const TPreferredChange goal = PreferredChange(One, a->Factor);
    EXPECT_TRUE(goal.Valid);
    EXPECT_EQ(goal.Level, -1);
    EXPECT_DOUBLE_EQ(goal.Value, 0.5);
    EXPECT_FALSE(PreferredChange(One, b->Factor).Valid);
    EXPECT_FALSE(PreferredChange(One, Case.FindOrCreateFactor("Elsewhere")).Valid);
}

// An action prefers the level that counters an uncertain prospect on its goal; an action that
// reaches no goal prefers nothing, rather than its lowest level.
TEST_F(ComparisonTest, PreferredChangeOfAnActionNeedsAGoal) {
    TFiP* x = First.Action("X");
    TFiP* a = First.Factor("A");
    First.Link(x, a, 2);
    First.Goal(a, 0);
    First.Prospect(a, 2, 1);
    const TPreferredChange counter = PreferredChange(One, x->Factor);
    EXPECT_TRUE(counter.Valid);
    EXPECT_EQ(counter.Level, -2);
    TFiP* idle = First.Action("Idle");
    EXPECT_FALSE(PreferredChange(One, idle->Factor).Valid);
}

TEST_F(ComparisonTest, MergeIntoTheAnalystViewAveragesProspects) {
    TFiP* water = First.Factor("Water");
    First.Prospect(water, 1);
    water->Operator = TOperator::opMul;
    TFiP* x = First.Action("X");
    x->ActionRange = TActionRange{{false, false, false, true, true, false, false}};
    x->UpdateFeasibleLevels();
    First.Link(x, water);
    First.Goal(water, 2);
    Second.Prospect(Second.Factor("Water"), 3);
    TFiP* theirs = Second.Show(x->Factor);
    theirs->ActionRange = TActionRange{{true, false, false, false, false, false, false}};
    theirs->UpdateFeasibleLevels();
    Second.Link(theirs, Second.Factor("Water"), 1);

    TPerception& view = *First.Arena->AnalystView;
    view.Add(std::make_unique<TFiP>(Case.FindOrCreateFactor("Stale")));
    MergeIntoAnalystView(*First.Arena);
    ASSERT_EQ(view.FiPs.size(), 2u);
    EXPECT_TRUE(view.Goals.empty());
    ASSERT_EQ(view.Prospects.size(), 1u);
    const TProspect& prospect = *view.Prospects[0];
    EXPECT_EQ(prospect.Distribution.Pairs(), (Pairs{{0.5, 1}, {0.5, 4}}));
    EXPECT_EQ(prospect.Level, 1);
    EXPECT_EQ(prospect.Uncertainty, 3);
    const TFiP& merged = *view.FindFiP(water->Factor);
    EXPECT_EQ(merged.Operator, TOperator::opAdd);
    const TFiP& action = *view.FindFiP(x->Factor);
    EXPECT_EQ(action.FeasibleCount, 3);
    ASSERT_EQ(view.Links.size(), 1u);
    EXPECT_EQ(view.Links[0]->Distribution.Pairs(), (Pairs{{0.5, 0.5}, {0.5, 1}}));
    EXPECT_EQ(view.Links[0]->Level, 1);
}

TEST_F(ComparisonTest, MergeIntoARoundSkipsLinksIntoActions) {
    TArena* round = Case.FindOrCreateArena("Round1");
    round->Name = "*Round  1";
    TPerception& view = *round->AnalystView;
    TFiP* x = First.Action("X");
    First.Link(First.Factor("A"), x);
    First.Link(x, First.Factor("B"));
    TGoal* goal = First.Goal(First.Factor("B"), 1);
    x->ChosenLevel = 2;
    MergeFrom(view, One, true);
    ASSERT_EQ(view.Links.size(), 1u);
    EXPECT_EQ(view.Links[0]->ToFiP->Factor->Name, "B");
    ASSERT_EQ(view.Goals.size(), 1u);
    EXPECT_EQ(view.Goals[0]->Utilities, goal->Utilities);
    EXPECT_EQ(view.FindFiP(x->Factor)->ChosenLevel, 2);
    EXPECT_TRUE(view.Selection.empty());
}

TEST_F(ComparisonTest, CopyBringsEveryItem) {
    TFiP* a = First.Factor("A");
    TFiP* b = First.Factor("B");
    First.Link(a, b, -3, 1);
    First.Goal(b, 2, 3);
    First.Prospect(a, -1, 2);
    a->X = 40;
    CopyPerception(One, Two);
    ASSERT_EQ(Two.FiPs.size(), 2u);
    EXPECT_EQ(Two.FiPs[0]->X, 40);
    ASSERT_EQ(Two.Links.size(), 1u);
    EXPECT_EQ(Two.Links[0]->Distribution, One.Links[0]->Distribution);
    ASSERT_EQ(Two.Goals.size(), 1u);
    EXPECT_EQ(Two.Goals[0]->FiP, Two.FiPs[1].get());
    ASSERT_EQ(Two.Prospects.size(), 1u);
    EXPECT_EQ(Two.Prospects[0]->Distribution, One.Prospects[0]->Distribution);
}

}  // namespace
}  // namespace kavo
