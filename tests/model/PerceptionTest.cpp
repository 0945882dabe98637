#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using test::TMessage;

class PerceptionTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    PerceptionTest() {
        Case.FindOrCreateActor("State", "S");
        Tax = Case.FindOrCreateFactor("Tax", false, true, "S");
        Price = Case.FindOrCreateFactor("Price");
        Demand = Case.FindOrCreateFactor("Demand");
        Arena = Case.FindOrCreateArena("Market");
        View = Arena->AnalystView.get();
        Case.Modified = false;
    }

    TFiP* Show(TFactor* factor) {
        const int index = View->Add(std::make_unique<TFiP>(factor));
        return View->FiPs[static_cast<std::size_t>(index)].get();
    }
    TLink* Link(TFiP* from, TFiP* to) {
        const int index = View->Add(std::make_unique<TLink>(Case, from, to));
        return View->Links[static_cast<std::size_t>(index)].get();
    }
    TGoal* Goal(TFiP* fip, int level = 1) {
        const int index =
            View->Add(std::make_unique<TGoal>(Case, fip, TGoalType::gtStandard, level, 2));
        return View->Goals[static_cast<std::size_t>(index)].get();
    }

    TFactor* Tax;
    TFactor* Price;
    TFactor* Demand;
    TArena* Arena;
    TPerception* View;
};

TEST_F(PerceptionTest, NewFiPHasItsDefaults) {
    TFiP* tax = Show(Tax);
    EXPECT_EQ(tax->Perception, View);
    EXPECT_EQ(tax->ChosenLevel, kNoLevel);
    EXPECT_EQ(tax->Operator, TOperator::opAdd);
    EXPECT_EQ(tax->FeasibleCount, 7);
    EXPECT_EQ(tax->FeasibleLevels, (std::array<std::int8_t, 7>{0, 1, -1, 2, -2, 3, -3}));
    EXPECT_EQ(tax->LevelUtility[-3].Kind, TProValKind::pvUtility);
    EXPECT_EQ(tax->Change.Kind, TProValKind::pvChange);
    EXPECT_TRUE(Case.Modified);
    EXPECT_EQ(View->Selection, std::vector<TPerceptionItem>{tax});
    EXPECT_EQ(View->Case(), &Case);
}

TEST_F(PerceptionTest, SecondFiPOfAConceptLeavesOneAndBringsItsGoal) {
    TFiP* first = Show(Price);
    Goal(first, -1);
    View->ResultsValid.fill(true);
    auto second = std::make_unique<TFiP>(Price);
    View->Add(std::make_unique<TGoal>(Case, second.get(), TGoalType::gtNegative, 2, 3));
    EXPECT_EQ(View->Add(std::move(second)), 0);
    ASSERT_EQ(View->FiPs.size(), 1u);
    ASSERT_EQ(View->Goals.size(), 1u);
    EXPECT_EQ(View->GoalOf(first)->GoalType, TGoalType::gtNegative);
    EXPECT_EQ(View->GoalOf(first)->Level, 2);
    EXPECT_EQ(View->Selection, std::vector<TPerceptionItem>{first});
    EXPECT_EQ(View->ResultsValid, (std::array<bool, 4>{}));
}

TEST_F(PerceptionTest, DuplicateLinkLeavesOneButTheOppositeDirectionIsAnother) {
    TFiP* price = Show(Price);
    TFiP* demand = Show(Demand);
    TLink* link = Link(price, demand);
    EXPECT_EQ(link->Level, 2);
    EXPECT_EQ(link->Uncertainty, 0);
    EXPECT_EQ(link->Distribution.Pairs(), (std::vector<TPVPair>{{1, 1}}));
    EXPECT_EQ(Link(price, demand), link);
    EXPECT_EQ(View->Selection, std::vector<TPerceptionItem>{link});
    TLink* back = Link(demand, price);
    EXPECT_NE(back, link);
    EXPECT_EQ(View->Links.size(), 2u);
    EXPECT_EQ(price->OutLinks, std::vector<TLink*>{link});
    EXPECT_EQ(price->InLinks, std::vector<TLink*>{back});
    EXPECT_EQ(View->FindLink(Price, Demand), link);
    EXPECT_EQ(View->FindLink(Tax, Demand, true), nullptr);
    EXPECT_EQ(Messages.Log, (std::vector<TMessage>{{TMessage::Kind::Error, "Link not found"}}));
}

TEST_F(PerceptionTest, RemovingAFiPTakesItsLinksGoalAndProspect) {
    TFiP* tax = Show(Tax);
    TFiP* price = Show(Price);
    TFiP* demand = Show(Demand);
    Link(tax, price);
    TLink* kept = Link(tax, demand);
    Link(price, demand);
    Goal(price);
    View->Add(std::make_unique<TProspect>(Case, price, 1, 1));
    View->Selection = {price, kept};
    View->Remove(price);
    EXPECT_EQ(View->FiPs.size(), 2u);
    EXPECT_EQ(View->Links.size(), 1u);
    EXPECT_EQ(View->Links[0].get(), kept);
    EXPECT_TRUE(View->Goals.empty());
    EXPECT_TRUE(View->Prospects.empty());
    EXPECT_EQ(tax->OutLinks, std::vector<TLink*>{kept});
    EXPECT_EQ(demand->InLinks, std::vector<TLink*>{kept});
    EXPECT_EQ(View->Selection, std::vector<TPerceptionItem>{kept});
}

TEST_F(PerceptionTest, FeasibleLevelsFollowTheRangeInTheirOrder) {
    struct Case_ {
        TActionRange Range;
        std::vector<int> Levels;
    };
    const Case_ cases[] = {
        {{{false, false, true, true, false, true, false}}, {0, -1, 2}},
        {{{true, false, false, false, false, false, true}}, {3, -3}},
        {{{false, false, false, false, false, false, false}}, {}},
        {kFullActionRange, {0, 1, -1, 2, -2, 3, -3}},
    };
    TFiP* tax = Show(Tax);
    for (const Case_& c : cases) {
        tax->ActionRange = c.Range;
        tax->UpdateFeasibleLevels();
        const std::vector<int> levels(tax->FeasibleLevels.begin(),
                                      tax->FeasibleLevels.begin() + tax->FeasibleCount);
        EXPECT_EQ(levels, c.Levels);
    }
}

TEST_F(PerceptionTest, DefaultActionRangeOnlyForFreeActions) {
    Case.FindOrCreateFactor("Levy", false, true, "S");
    TFiP* tax = Show(Tax);
    TFiP* levy = Show(Case.FactorList.Find("Levy [S]"));
    TFiP* price = Show(Price);
    Link(price, tax);
    Case.DefaultActionRange = TActionRange{{false, false, false, true, true, false, false}};
    tax->ActionRange[3] = false;
    EXPECT_FALSE(View->IsFreeAction(tax));
    EXPECT_TRUE(View->IsFreeAction(levy));
    Case.ApplyDefaultActionRange();
    EXPECT_EQ(tax->ActionRange, kFullActionRange);
    EXPECT_EQ(tax->FeasibleCount, 7);
    EXPECT_EQ(levy->ActionRange, Case.DefaultActionRange);
    EXPECT_EQ(levy->FeasibleCount, 2);
    EXPECT_EQ(price->FeasibleCount, 7);
    View->Add(std::make_unique<TProspect>(Case, levy, 1, 0));
    EXPECT_FALSE(View->IsFreeAction(levy));
}

TEST_F(PerceptionTest, SummarizeTakesTheLowestMostProbableLevel) {
    struct Case_ {
        std::vector<TPVPair> Pairs;
        int Level;
        int Uncertainty;
    };
    const Case_ cases[] = {
        {{{0.5, -1}, {0.5, 1}}, -1, 3}, {{{0.96, 2}, {0.04, 4}}, 2, 0},
        {{{0.95, 2}, {0.05, 4}}, 2, 1}, {{{0.75, -4}, {0.25, 0}}, -3, 2},
        {{{0.56, 1}, {0.44, 0}}, 1, 2}, {{{0.55, 1}, {0.45, 0}}, 1, 3},
    };
    TFiP* price = Show(Price);
    TProspect prospect(Case, price, 0, 0);
    for (const Case_& c : cases) {
        prospect.Distribution.Clear();
        for (const TPVPair& pair : c.Pairs) {
            prospect.Distribution.Add(Case, pair.Prob, pair.Value);
        }
        prospect.Summarize(Case);
        EXPECT_EQ(prospect.Level, c.Level);
        EXPECT_EQ(prospect.Uncertainty, c.Uncertainty);
    }
}

TEST_F(PerceptionTest, ProspectWithoutFiPIsReportedAndMadeAnyway) {
    TProspect prospect(Case, nullptr, 2, 1);
    EXPECT_EQ(
        Messages.Log,
        (std::vector<TMessage>{{TMessage::Kind::Error, "Failed to create prospect -- FiP = nil"}}));
    EXPECT_EQ(prospect.Distribution.Pairs(), (std::vector<TPVPair>{{0.1, 1}, {0.8, 2}, {0.1, 4}}));
    EXPECT_EQ(prospect.Vector, UncertaintyProfile(1, 2));
}

TEST_F(PerceptionTest, InvertedProspectExpectsTheOppositeChange) {
    TProspect prospect(Case, Show(Price), 3, 1);
    prospect.Invert(Case);
    EXPECT_EQ(prospect.Level, -3);
    EXPECT_EQ(prospect.Distribution.Pairs(), (std::vector<TPVPair>{{0.2, -2}, {0.8, -4}}));
    EXPECT_EQ(prospect.Vector, UncertaintyProfile(1, -3));
}

TEST_F(PerceptionTest, CaseSettingsRefreshGoalsProspectsAndLinks) {
    TFiP* price = Show(Price);
    TFiP* demand = Show(Demand);
    TLink* link = Link(price, demand);
    link->Vector = UncertaintyProfile(1, -3);
    TGoal* goal = Goal(demand, 1);
    TGoal* custom = nullptr;
    {
        TLevels<std::int8_t> utilities{{0, 0, 1, 2, 1, 0, 0}};
        View->Add(std::make_unique<TGoal>(price, utilities));
        custom = View->Goals.back().get();
    }
    View->Add(std::make_unique<TProspect>(Case, price, 1, 0));
    Case.StdUtilityVectors.At(2, 1, 3) = 3;
    Case.SetLinkMultiplier(4);
    Case.DefaultRationality = 4;
    View->ResultsValid.fill(true);
    View->ApplyCaseSettings();
    EXPECT_EQ(goal->Utilities[3], 3);
    EXPECT_EQ(goal->HighUtility, 3);
    EXPECT_EQ(custom->Utilities, (TLevels<std::int8_t>{{0, 0, 1, 2, 1, 0, 0}}));
    EXPECT_EQ(link->Distribution.Pairs(), (std::vector<TPVPair>{{0.8, -4}, {0.2, -1}}));
    EXPECT_EQ(View->Rationality, 4);
    EXPECT_EQ(View->ResultsValid, (std::array<bool, 4>{}));
}

TEST_F(PerceptionTest, CustomGoalSummary) {
    struct Case_ {
        TLevels<std::int8_t> Utilities;
        int Level;
        int Priority;
        int Low;
        int High;
    };
    const Case_ cases[] = {
        {{{0, 0, 1, 2, 1, 0, 0}}, 0, 2, 0, 2},
        {{{3, 0, 0, 0, 0, 0, 3}}, -3, 3, 0, 3},
        {{{-3, -1, -2, -1, -3, -3, -3}}, -2, 1, -3, -1},
        {{{0, 0, 0, 0, 0, 0, 0}}, -3, 3, 0, 0},
    };
    for (const Case_& c : cases) {
        const TGoal goal(nullptr, c.Utilities);
        EXPECT_EQ(goal.Level, c.Level);
        EXPECT_EQ(goal.Priority, c.Priority);
        EXPECT_EQ(goal.LowUtility, c.Low);
        EXPECT_EQ(goal.HighUtility, c.High);
    }
}

TEST_F(PerceptionTest, CopyToAnotherPerceptionMakesNewRecords) {
    TFiP* price = Show(Price);
    TFiP* demand = Show(Demand);
    price->Comment = {"note"};
    price->X = 40;
    price->ChosenLevel = 2;
    TLink* link = Link(price, demand);
    link->Level = -1;
    TGoal* goal = Goal(demand, 2);
    TAiA* record = Arena->AddActor(Case.ActorList[0]);
    TPerception& other = *record->Perception;

    EXPECT_EQ(link->CopyTo(other), nullptr);
    TFiP* priceCopy = price->CopyTo(other);
    TFiP* demandCopy = demand->CopyTo(other);
    ASSERT_NE(priceCopy, nullptr);
    EXPECT_NE(priceCopy, price);
    EXPECT_EQ(priceCopy->Perception, &other);
    EXPECT_EQ(priceCopy->Comment, price->Comment);
    EXPECT_EQ(priceCopy->X, 40);
    EXPECT_EQ(priceCopy->ChosenLevel, 2);
    TLink* linkCopy = link->CopyTo(other);
    ASSERT_NE(linkCopy, nullptr);
    EXPECT_EQ(linkCopy->FromFiP, priceCopy);
    EXPECT_EQ(linkCopy->ToFiP, demandCopy);
    EXPECT_EQ(linkCopy->Level, -1);
    TGoal* goalCopy = goal->CopyTo(other);
    ASSERT_NE(goalCopy, nullptr);
    EXPECT_EQ(goalCopy->FiP, demandCopy);
    EXPECT_EQ(goalCopy->Utilities, goal->Utilities);
    EXPECT_EQ(View->Links.size(), 1u);
}

TEST_F(PerceptionTest, ArenaListsInvolvedActorsAndFactors) {
    TActor* state = Case.ActorList[0];
    TActor* farmers = Case.FindOrCreateActor("Farmers", "F");
    TAiA* record = Arena->AddActor(farmers);
    record->Perception->Add(std::make_unique<TFiP>(Price));
    record->Perception->Add(std::make_unique<TFiP>(Tax));
    Show(Demand);
    EXPECT_EQ(Arena->InvolvedActors(), (std::vector<TActor*>{farmers, state}));
    EXPECT_EQ(Arena->InvolvedFactors(), (std::vector<TFactor*>{Price, Tax}));
    EXPECT_EQ(Arena->FindActor("Farmers"), record);
    EXPECT_EQ(Arena->FindActor("farmers"), nullptr);
}

}  // namespace
}  // namespace kavo
