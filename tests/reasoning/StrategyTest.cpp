#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/TFactor.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/Inference.h"
#include "reasoning/Merge.h"
#include "reasoning/TCombinationObserver.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"
#include "support/TGeneratedPerception.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using Pairs = std::vector<TPVPair>;

class StrategyTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    void Range(TFiP* action, std::initializer_list<int> levels) {
        action->ActionRange = TActionRange{};
        for (int level : levels) {
            action->ActionRange[level] = true;
        }
        action->UpdateFeasibleLevels();
    }
    // A strategy with a tactic on each action, searched after inference.
    TStrategy& Searched(std::vector<TFiP*> actions, int rationality = 0,
                        TGoal* singleGoal = nullptr) {
        InferInfluences(*P);
        Work = std::make_unique<TStrategy>(P, rationality);
        Work->SingleGoal = singleGoal;
        for (TFiP* action : actions) {
            Work->Tactics.push_back({action, 0, true});
        }
        Work->Search();
        return *Work;
    }
    TStrategy& Evaluated(std::vector<TTactic> tactics, int rationality = 0) {
        InferInfluences(*P);
        Work = std::make_unique<TStrategy>(P, rationality);
        Work->Tactics = std::move(tactics);
        Work->Evaluate();
        return *Work;
    }
    // The first status text of the search.
    std::string SearchText() const {
        for (const std::string& text : Status.Texts) {
            if (text.starts_with("Evaluating") || text.starts_with("Sampling")) {
                return text;
            }
        }
        return {};
    }
    static std::vector<int> Levels(const TStrategy& strategy) {
        std::vector<int> levels;
        for (const TTactic& tactic : strategy.Tactics) {
            levels.push_back(tactic.Level);
        }
        return levels;
    }

    test::TPerceptionBuilder Build{Case};
    TPerception* P = Build.Perception;
    std::unique_ptr<TStrategy> Work;
};

TEST_F(StrategyTest, WithoutGoalsTheDefaultIsBestAndWorst) {
    TFiP* x = Build.Action("X");
    Build.Link(x, Build.Factor("A"));
    FindStrategies(*P, true);
    const TStrategy& best = *P->BestStrategy;
    ASSERT_EQ(best.BestStrategies.size(), 1u);
    ASSERT_EQ(best.WorstStrategies.size(), 1u);
    EXPECT_EQ(Levels(*best.BestStrategies[0]), std::vector<int>{0});
    EXPECT_EQ(best.BestScore, 0);
    EXPECT_EQ(best.WorstScore, 0);
    EXPECT_TRUE(best.Complete);
    EXPECT_TRUE(P->ResultsValid[TPerception::StrategiesFound]);
}

TEST_F(StrategyTest, EnumeratesEveryCombinationWithinTheLimit) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    Range(x, {-1, 0, 1});
    Build.Link(x, a);
    Build.Link(y, a);
    Build.Goal(a, 3);
    const TStrategy& s = Searched({x, y});
    EXPECT_EQ(s.EvaluationCount, 21);
    EXPECT_EQ(SearchText(), "Evaluating 1 of all 21 strategies for Farmer");
    EXPECT_TRUE(s.Complete);
    EXPECT_EQ(Status.Texts.back(), "");
    EXPECT_DOUBLE_EQ(s.BestScore, 0.5);
    EXPECT_DOUBLE_EQ(s.WorstScore, -1);
    // Each tactic ends at its last feasible level, and the model's changes follow those levels.
    EXPECT_EQ(Levels(s), (std::vector<int>{-1, -3}));
    EXPECT_EQ(a->Change.Pairs(), (Pairs{{1, -5}}));
}

TEST_F(StrategyTest, SamplesAboveTheLimitInSeededStrides) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    Range(x, {-1, 0, 1});
    Build.Link(x, a);
    Build.Link(y, a);
    Build.Goal(a, 3);
    Case.Evaluations = 10;
    Context.Random.Seed(7);
    const TStrategy& s = Searched({x, y});
    EXPECT_EQ(s.EvaluationCount, 10);
    EXPECT_EQ(SearchText(), "Sampling up to 10 out of 21 strategies for Farmer");
    EXPECT_EQ(Status.Texts.back(), "");
    // The search seeds the generator from the case and draws once per evaluation.
    TRandom expected;
    expected.Seed(static_cast<std::uint32_t>(Case.RandomSeed));
    for (int i = 0; i < 10; ++i) {
        expected.Next();
    }
    EXPECT_EQ(Context.Random.State, expected.State);
}

TEST_F(StrategyTest, TiesAreAllKeptLeastActionFirst) {
    TFiP* x = Build.Action("X");
    TFiP* a = Build.Factor("A");
    Range(x, {-3, 0, 3});
    Build.Link(x, a);
    Build.Goal(a, 0, 2, TGoalType::gtCustom);
    P->Goals.back()->Utilities = TLevels<std::int8_t>{{2, 0, 0, -1, 0, 0, 2}};
    P->Goals.back()->UpdateSummary();
    const TStrategy& s = Searched({x});
    ASSERT_EQ(s.BestStrategies.size(), 2u);
    EXPECT_EQ(Levels(*s.BestStrategies[0]), std::vector<int>{3});
    EXPECT_EQ(Levels(*s.BestStrategies[1]), std::vector<int>{-3});
    EXPECT_EQ(s.BestStrategies[0]->TotalAction, 3);
    ASSERT_EQ(s.WorstStrategies.size(), 1u);
    EXPECT_EQ(Levels(*s.WorstStrategies[0]), std::vector<int>{0});
}

TEST_F(StrategyTest, SortingPutsLeastActionFirst) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    Range(x, {0, 2, 3});
    Range(y, {0, -1});
    Build.Link(x, a);
    Build.Link(y, a, 0);  // no effect: every level of Y ties
    Build.Goal(a, 3);
    const TStrategy& s = Searched({x, y});
    ASSERT_EQ(s.BestStrategies.size(), 2u);
    EXPECT_EQ(Levels(*s.BestStrategies[0]), (std::vector<int>{3, 0}));
    EXPECT_EQ(Levels(*s.BestStrategies[1]), (std::vector<int>{3, -1}));
    EXPECT_EQ(s.BestStrategies[1]->TotalAction, 4);
}

TEST_F(StrategyTest, OperatorsCombineIncomingChanges) {
    struct TCase {
        TOperator Operator;
        double Expected;
    };
    // Contributions 2 and -1 on a factor whose own prospect is +1.
    const std::vector<TCase> cases{{TOperator::opAdd, 2},
                                   {TOperator::opMul, -2},
                                   {TOperator::opMin, -1},
                                   {TOperator::opMax, 2}};
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    Build.Link(x, a, 2);
    Build.Link(y, a, -2);
    Build.Prospect(a, 1);
    for (const TCase& c : cases) {
        a->Operator = c.Operator;
        Evaluated({{x, 2, true}, {y, 1, true}});
        EXPECT_EQ(a->Change.Pairs(), (Pairs{{1, c.Expected}})) << static_cast<int>(c.Operator);
    }
}

TEST_F(StrategyTest, GoalOutsideTheOrderSeesCertainZero) {
    TFiP* idle = Build.Factor("Idle");
    TFiP* a = Build.Factor("A");
    Build.Link(idle, a);
    TGoal* goal = Build.Goal(a, 0, 1);
    const TStrategy& s = Evaluated({}, 1);
    ASSERT_EQ(s.Outcomes.size(), 1u);
    EXPECT_EQ(s.Outcomes[0].Change.Pairs(), (Pairs{{1, 0}}));
    EXPECT_DOUBLE_EQ(s.ScoreForGoal(goal), UtilityValue(Case, 1));
    EXPECT_EQ(s.OutcomeOf(nullptr).Pairs(), (Pairs{{1, 0}}));
}

TEST_F(StrategyTest, UncertainProspectSpreadsTheChange) {
    TFiP* source = Build.Factor("Rain");
    TFiP* a = Build.Factor("A");
    Build.Prospect(source, Pairs{{0.5, 1}, {0.5, 2}});
    Build.Link(source, a, 2);
    Build.Goal(a, 1);
    Evaluated({});
    EXPECT_EQ(a->Change.Pairs(), (Pairs{{0.5, 1}, {0.5, 2}}));
}

TEST_F(StrategyTest, SatisfactionIsTheMeanOverGoals) {
    TFiP* x = Build.Action("X");
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    Build.Link(x, a, Pairs{{0.25, 1}, {0.75, 0}});
    Build.Link(x, b, 0);
    Build.Goal(a, 1, 3);
    Build.Goal(b, 0, 1);  // satisfied only by no change
    const TStrategy& s = Evaluated({{x, 1, true}}, 3);
    // With A at +1 both goals are satisfied; with A unchanged only B's is.
    EXPECT_EQ(s.SatisfactionDist.Pairs(), (Pairs{{0.75, 0.5}, {0.25, 1}}));
    EXPECT_DOUBLE_EQ(s.Score(), 0.625);
}

TEST_F(StrategyTest, MaxiMinTakesTheLowestPossibleUtility) {
    TFiP* x = Build.Action("X");
    TFiP* a = Build.Factor("A");
    Build.Link(x, a, Pairs{{0.01, -1}, {0.99, 1}});
    Build.Goal(a, 1);
    EXPECT_DOUBLE_EQ(Evaluated({{x, 1, true}}, 1).Score(), UtilityValue(Case, -2));
    EXPECT_NEAR(Evaluated({{x, 1, true}}, 0).Score(), 0.99 * 0.5 + 0.01 * -0.5, 1e-12);
}

// The first combination must not leave its changes to the second: A is reached back from B
// through a delayed link, which contributes nothing in every combination alike.
TEST_F(StrategyTest, EveryCombinationStartsFromTheSameState) {
    TFiP* x = Build.Action("X");
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    Build.Link(x, a, Pairs{{0.5, 1}, {0.5, 2}});
    Build.Link(a, b, 2);
    Build.Link(b, a, 2);
    Evaluated({{x, 1, true}});
    EXPECT_EQ(a->Change.Pairs(), (Pairs{{0.5, 1}, {0.5, 2}}));
    EXPECT_EQ(b->Change.Pairs(), (Pairs{{0.5, 1}, {0.5, 2}}));
    EXPECT_DOUBLE_EQ(a->PendingChange, 1.5);
}

// Sources that each bring 0 or +1 with equal chance, added up in one goal factor. Up to 4,096
// combinations every one is visited; beyond, the evaluation runs on 4,096 combinations drawn by
// a generator of their own from the case's seed, each source in turn, and says so.
TEST_F(StrategyTest, BeyondTheLimitCombinationsAreSampled) {
    const struct {
        int Sources;
        const char* Actor;
        std::uint64_t Sampled;
    } cases[] = {{12, "Ann", 0}, {13, "Bob", 4096}};
    for (const auto& c : cases) {
        test::TPerceptionBuilder build(Case, c.Actor);
        TPerception& perception = *build.Perception;
        TFiP* sum = build.Factor("Sum");
        for (int i = 0; i < c.Sources; ++i) {
            TFiP* source = build.Factor("S" + std::to_string(i));
            build.Prospect(source, Pairs{{0.5, 0}, {0.5, 1}});
            build.Link(source, sum);
        }
        build.Link(build.Action("X"), build.Factor("Elsewhere"));
        build.Goal(sum, 3);
        Context.Random.Seed(7);
        FindStrategies(perception, true);

        std::vector<int> counts(static_cast<std::size_t>(c.Sources) + 1, 0);
        if (c.Sampled == 0) {
            // Binomial coefficients, each combination of weight 1/4096.
            counts[0] = 1;
            for (int n = 1; n <= c.Sources; ++n) {
                for (int k = n; k > 0; --k) {
                    counts[static_cast<std::size_t>(k)] += counts[static_cast<std::size_t>(k - 1)];
                }
            }
        } else {
            TRandom draws;
            draws.Seed(static_cast<std::uint32_t>(Case.RandomSeed));
            for (int combination = 0; combination < 4096; ++combination) {
                int k = 0;
                for (int i = 0; i < c.Sources; ++i) {
                    k += draws.Next() > 0.5 ? 1 : 0;
                }
                ++counts[static_cast<std::size_t>(k)];
            }
        }
        Pairs expected;
        for (std::size_t k = 0; k < counts.size(); ++k) {
            if (counts[k] > 0) {
                expected.push_back({counts[k] / 4096.0, static_cast<double>(k)});
            }
        }
        EXPECT_EQ(sum->Change.Pairs(), expected) << c.Sources;
        EXPECT_EQ(SampledCombinations(perception), c.Sampled);
        EXPECT_EQ(perception.DefaultStrategy->SampledCombinations, c.Sampled);
        const TStrategy& best = *perception.BestStrategy;
        EXPECT_EQ(best.SampledCombinations, c.Sampled);
        // X reaches no goal and every strategy is scored on the same sample: all seven tie.
        EXPECT_EQ(best.BestStrategies.size(), 7u);
        EXPECT_EQ(best.BestStrategies[0]->SampledCombinations, c.Sampled);
        // The uncertain values draw nothing from the program's generator.
        EXPECT_EQ(Context.Random.State, static_cast<std::uint32_t>(Case.RandomSeed));
    }
    EXPECT_NE(std::find(Status.Texts.begin(), Status.Texts.end(),
                        "Evaluating 1 of all 7 strategies for Ann"),
              Status.Texts.end());
    EXPECT_NE(std::find(Status.Texts.begin(), Status.Texts.end(),
                        "Evaluating 1 of all 7 strategies for Bob, each estimated on 4096 of 8192 "
                        "combinations of uncertain values"),
              Status.Texts.end());
}

// Two actors see one long chain with links of different strength; the analyst's merge of both
// holds 21 uncertain links, over two million combinations. A search over it finishes, gives the
// same results every time and leaves the strategy sampling's random sequence as it was.
TEST_F(StrategyTest, MergedPerceptionWithManyUncertainLinks) {
    test::TPerceptionBuilder town(Case, "Town");
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    std::vector<TFiP*> chain;
    for (int i = 0; i <= 20; ++i) {
        chain.push_back(Build.Factor("F" + std::to_string(i)));
        town.Show(chain.back()->Factor);
    }
    const auto link = [&](TFiP* from, TFiP* to) {
        Build.Link(from, to, 2);
        town.Link(town.Perception->FindFiP(from->Factor), town.Perception->FindFiP(to->Factor), 1);
    };
    town.Show(x->Factor);
    town.Show(y->Factor);
    link(x, chain[0]);
    for (int i = 0; i < 20; ++i) {
        link(chain[static_cast<std::size_t>(i)], chain[static_cast<std::size_t>(i) + 1]);
    }
    Build.Link(y, chain[5]);
    Build.Goal(chain.back(), 2);
    TPerception& merged = *Build.Arena->AnalystView;
    MergeFrom(merged, *P, true);
    MergeFrom(merged, *town.Perception, true);
    NormalizeUncertainties(merged);
    ASSERT_EQ(UncertainCombinations(merged), std::uint64_t{1} << 21);

    Case.Evaluations = 10;
    const auto search = [&] {
        Context.Random.Seed(7);
        FindStrategies(merged, true);
        EvaluateAllTactics(merged);
        return merged.BestStrategy.get();
    };
    const TStrategy& best = *search();
    EXPECT_TRUE(best.Complete);
    EXPECT_EQ(best.EvaluationCount, 10);
    EXPECT_EQ(best.SampledCombinations, 4096u);
    double total = 0;
    for (const TPVPair& pair : best.UtilityDist.Pairs()) {
        total += pair.Prob;
    }
    EXPECT_EQ(total, 1);
    // Ten strides of the strategy sampling, as without uncertain values.
    TRandom strides;
    strides.Seed(static_cast<std::uint32_t>(Case.RandomSeed));
    for (int i = 0; i < 10; ++i) {
        strides.Next();
    }
    EXPECT_EQ(Context.Random.State, strides.State);

    const double bestScore = best.BestScore;
    const double worstScore = best.WorstScore;
    std::vector<std::vector<int>> ties;
    for (const auto& found : best.BestStrategies) {
        ties.push_back(Levels(*found));
    }
    const TProVal standing = merged.DefaultStrategy->UtilityDist;
    const TProVal rating = merged.FindFiP(x->Factor)->LevelUtility[2];
    const TStrategy& again = *search();
    EXPECT_EQ(again.BestScore, bestScore);
    EXPECT_EQ(again.WorstScore, worstScore);
    std::vector<std::vector<int>> tiesAgain;
    for (const auto& found : again.BestStrategies) {
        tiesAgain.push_back(Levels(*found));
    }
    EXPECT_EQ(tiesAgain, ties);
    EXPECT_EQ(merged.DefaultStrategy->UtilityDist, standing);
    EXPECT_EQ(merged.FindFiP(x->Factor)->LevelUtility[2], rating);
}

TEST_F(StrategyTest, TacticsRatedLevelByLevel) {
    TFiP* x = Build.Action("X");
    TFiP* idle = Build.Action("Idle");
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    Build.Link(x, a, 2);
    Build.Link(x, b, -2);
    Build.Goal(a, 1);
    Build.Goal(b, 1);
    EvaluateAllTactics(*P);
    EXPECT_TRUE(P->ResultsValid[TPerception::TacticsEvaluated]);
    EXPECT_EQ(x->AffectedGoals, 2);
    EXPECT_EQ(x->LevelUtility[1].Cumulation, 2);
    // A gains +1 (utility 0.5), B loses 1 (utility -0.5 for the goal +1, vector -3 -3 -2 -1 2 1 0).
    EXPECT_EQ(x->LevelUtility[1].Pairs(), (Pairs{{1, -0.5}, {1, 0.5}}));
    EXPECT_DOUBLE_EQ(x->LevelUtility[1].Mean(Case), 0);
    EXPECT_EQ(idle->AffectedGoals, 0);
    EXPECT_EQ(idle->LevelSatisfaction[-3].Pairs(), (Pairs{{1, 0}}));
}

// The ratings skip what no rated goal depends on and share one sample of uncertain values between
// the actions: they must still be those of a full evaluation of each level, and leave the working
// values of the last full evaluation, whether every combination is visited or a sample is drawn.
TEST(TacticRatingTest, SameAsFullEvaluationOfEachLevel) {
    for (const int uncertainLinks : {0, 5, 14}) {
        SCOPED_TRACE(uncertainLinks);
        test::TGeneratedPerception generated(30, uncertainLinks);
        TPerception& perception = *generated.Build.Perception;
        const TCase& current = generated.Fixture.Case;
        // The first action reaches no goal, so it propagates nothing.
        while (!generated.Actions[0]->OutLinks.empty()) {
            perception.Remove(generated.Actions[0]->OutLinks.front());
        }
        EvaluateAllTactics(perception);
        EXPECT_EQ(generated.Actions[0]->AffectedGoals, 0);
        EXPECT_EQ(UncertainCombinations(perception) > kMaxCombinations, uncertainLinks == 14);
        std::vector<TProVal> rated;
        std::vector<TProVal> changes;
        for (const auto& fip : perception.FiPs) {
            changes.push_back(fip->Change);
        }

        std::vector<TProVal> full;
        for (const auto& fip : perception.FiPs) {
            if (!fip->Factor->IsAction) {
                continue;
            }
            std::vector<const TGoal*> affected;
            for (const auto& goal : perception.Goals) {
                const TImpact* impact = ImpactBetween(perception, fip.get(), goal->FiP);
                if (impact != nullptr && impact->HasPaths()) {
                    affected.push_back(goal.get());
                }
            }
            EXPECT_EQ(fip->AffectedGoals, static_cast<int>(affected.size()));
            for (int level = kMinLevel; level <= kMaxLevel; ++level) {
                rated.push_back(fip->LevelUtility[level]);
                rated.push_back(fip->LevelSatisfaction[level]);
                rated.push_back(fip->LevelFrustration[level]);
                TProVal utility(TProValKind::pvUtility);
                TProVal satisfaction(TProValKind::pvSatisfaction);
                TProVal frustration(TProValKind::pvFrustration);
                if (affected.empty()) {
                    utility.SetZero();
                    satisfaction.SetZero();
                    frustration.SetZero();
                } else {
                    TStrategy strategy(&perception, perception.Rationality);
                    strategy.Tactics.push_back({fip.get(), static_cast<std::int8_t>(level), true});
                    strategy.Evaluate();
                    for (const TGoal* goal : affected) {
                        const TProVal change = strategy.OutcomeOf(goal);
                        utility.Cumulate(current, Utility(*goal, change));
                        satisfaction.Cumulate(current, Satisfaction(*goal, change));
                        frustration.Cumulate(current, Frustration(*goal, change));
                    }
                }
                full.push_back(utility);
                full.push_back(satisfaction);
                full.push_back(frustration);
            }
        }
        ASSERT_EQ(rated.size(), full.size());
        for (std::size_t i = 0; i < rated.size(); ++i) {
            EXPECT_EQ(rated[i], full[i]) << "rating " << i;
        }
        for (std::size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i], perception.FiPs[i]->Change) << perception.FiPs[i]->Factor->Name;
        }
    }
}

// Sees the combinations and does nothing with them; with it the evaluation visits them one by one.
class TIgnoreCombinations : public TCombinationObserver {
  public:
    void EvaluationStarts(std::span<const TProVal* const>) override {}
    void Combination(double, const TGoalSums&, std::span<const std::uint32_t>) override {}
};

// What an evaluation leaves in the perception's working values.
struct TWorkingValues {
    explicit TWorkingValues(const TPerception& perception) {
        for (const auto& fip : perception.FiPs) {
            Changes.push_back(fip->Change);
            Numbers.push_back({fip->CurrentChange, fip->ProspectValue, fip->PendingChange});
        }
    }
    std::vector<TProVal> Changes;
    std::vector<std::array<double, 3>> Numbers;
    friend bool operator==(const TWorkingValues&, const TWorkingValues&) = default;
};

void ExpectSameStrategy(const TStrategy& a, const TStrategy& b) {
    ASSERT_EQ(a.Tactics.size(), b.Tactics.size());
    for (std::size_t t = 0; t < a.Tactics.size(); ++t) {
        EXPECT_EQ(a.Tactics[t].Level, b.Tactics[t].Level) << "tactic " << t;
    }
    EXPECT_EQ(a.UtilityDist, b.UtilityDist);
    EXPECT_EQ(a.SatisfactionDist, b.SatisfactionDist);
    EXPECT_EQ(a.FrustrationDist, b.FrustrationDist);
    ASSERT_EQ(a.Outcomes.size(), b.Outcomes.size());
    for (std::size_t g = 0; g < a.Outcomes.size(); ++g) {
        EXPECT_EQ(a.Outcomes[g].Goal, b.Outcomes[g].Goal);
        EXPECT_EQ(a.Outcomes[g].Change, b.Outcomes[g].Change) << "outcome " << g;
    }
    EXPECT_EQ(a.BestScore, b.BestScore);
    EXPECT_EQ(a.WorstScore, b.WorstScore);
    EXPECT_EQ(a.TotalAction, b.TotalAction);
    EXPECT_EQ(a.SampledCombinations, b.SampledCombinations);
}

// An evaluation computes all combinations of uncertain values at once, and a search evaluates
// each strategy only as far as its score needs and the kept ones in full at its end. Visiting the
// combinations one by one and keeping full copies as the search goes (as it does for an observer)
// must give the same results to the last bit: distributions, outcomes, working values and the
// strategies kept. Perceptions: every operator with feedback, enumerated and sampled; generated
// ones with many uncertain links.
TEST(UncertainEvaluationTest, SameAsVisitingEachCombination) {
    struct TShape {
        const char* Name;
        int ExtraSources;
        int GeneratedFiPs;
        int UncertainLinks;
    };
    const TShape shapes[] = {{"operators, enumerated", 0, 0, 0},
                             {"operators, sampled", 12, 0, 0},
                             {"generated, enumerated", 0, 24, 5},
                             {"generated, sampled", 0, 30, 16}};
    for (const TShape& shape : shapes) {
        SCOPED_TRACE(shape.Name);
        std::unique_ptr<test::TGeneratedPerception> generated;
        std::unique_ptr<test::TCaseFixture> fixture;
        std::unique_ptr<test::TPerceptionBuilder> build;
        std::vector<TFiP*> actions;
        TPerception* perception = nullptr;
        if (shape.GeneratedFiPs > 0) {
            generated = std::make_unique<test::TGeneratedPerception>(shape.GeneratedFiPs,
                                                                     shape.UncertainLinks, 3);
            perception = generated->Build.Perception;
            actions = generated->Actions;
            generated->Fixture.Case.Evaluations = 12;
        } else {
            fixture = std::make_unique<test::TCaseFixture>();
            build = std::make_unique<test::TPerceptionBuilder>(fixture->Case);
            test::TPerceptionBuilder& b = *build;
            TFiP* x = b.Action("X");
            TFiP* y = b.Action("Y");
            TFiP* a = b.Factor("A");
            TFiP* m = b.Factor("B");
            TFiP* c = b.Factor("C");
            TFiP* d = b.Factor("D");
            b.Link(x, a, 2, 2);
            b.Link(y, a, -1);
            b.Link(a, m, 3, 1);
            b.Link(y, c, 1, 3);
            b.Link(m, c, -2);
            b.Link(c, d, 2);
            b.Link(m, d, 1, 2);
            b.Link(d, m, -1, 1);  // feedback, delayed
            b.Prospect(m, -1, 2);
            b.Prospect(d, 1);
            m->Operator = TOperator::opMul;
            c->Operator = TOperator::opMax;
            d->Operator = TOperator::opMin;
            for (int i = 0; i < shape.ExtraSources; ++i) {
                TFiP* source = b.Factor("S" + std::to_string(i));
                b.Prospect(source, Pairs{{0.25, 0}, {0.5, 1}, {0.25, 1.5}});
                b.Link(source, i % 2 == 0 ? a : c, 1 + i % 3);
            }
            b.Goal(a, 1, 3);
            b.Goal(m, -2, 1, TGoalType::gtNegative);
            b.Goal(c, 0, 2);
            b.Goal(d, 2, 1);
            perception = b.Perception;
            actions = {x, y};
        }
        InferInfluences(*perception);
        CollectUncertainItems(*perception);
        EXPECT_EQ(UncertainCombinations(*perception) > kMaxCombinations,
                  std::string(shape.Name).ends_with("sampled"));

        TIgnoreCombinations ignore;
        const auto run = [&](TStrategy& strategy, bool oneByOne, auto work) {
            strategy.Observer = oneByOne ? &ignore : nullptr;
            work(strategy);
            strategy.Observer = nullptr;
            return TWorkingValues(*perception);
        };
        const auto fresh = [&](int rationality) {
            auto strategy = std::make_unique<TStrategy>(perception, rationality);
            for (std::size_t i = 0; i < actions.size(); ++i) {
                strategy->Tactics.push_back(
                    {actions[i], static_cast<std::int8_t>(i % 2 == 0 ? 2 : -1), true});
            }
            return strategy;
        };
        for (const int rationality : {0, 1, 2, 3, 4, 6, 7, -1}) {
            SCOPED_TRACE(rationality);
            // -1: the single goal of the last goal factor, under utility.
            const auto prepare = [&] {
                auto strategy = fresh(std::max(rationality, 0));
                if (rationality < 0) {
                    strategy->SingleGoal = perception->Goals.back().get();
                }
                return strategy;
            };
            auto visited = prepare();
            auto columns = prepare();
            const auto evaluate = [](TStrategy& s) { s.Evaluate(); };
            EXPECT_EQ(run(*visited, true, evaluate), run(*columns, false, evaluate));
            ExpectSameStrategy(*visited, *columns);

            const auto search = [](TStrategy& s) { s.Search(); };
            EXPECT_EQ(run(*visited, true, search), run(*columns, false, search));
            ExpectSameStrategy(*visited, *columns);
            EXPECT_EQ(visited->EvaluationCount, columns->EvaluationCount);
            EXPECT_EQ(visited->BestTies, columns->BestTies);
            EXPECT_EQ(visited->WorstTies, columns->WorstTies);
            for (const auto lists : {&TStrategy::BestStrategies, &TStrategy::WorstStrategies}) {
                const auto& left = (*visited).*lists;
                const auto& right = (*columns).*lists;
                ASSERT_EQ(left.size(), right.size());
                for (std::size_t i = 0; i < left.size(); ++i) {
                    ExpectSameStrategy(*left[i], *right[i]);
                }
            }
        }
    }
}

// The sample of uncertain values is drawn once per perception and kept: a change of the items'
// probabilities or of the seed draws it anew, even where nothing said the results are stale.
TEST(UncertainEvaluationTest, KeptSampleFollowsProbabilitiesAndSeed) {
    test::TGeneratedPerception generated(30, 16, 3);
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    CollectUncertainItems(perception);
    ASSERT_GT(UncertainCombinations(perception), kMaxCombinations);
    const auto evaluate = [&] {
        TStrategy strategy(&perception, 0);
        for (TFiP* action : generated.Actions) {
            strategy.Tactics.push_back({action, 1, true});
        }
        strategy.Evaluate();
        return std::make_pair(strategy.UtilityDist, TWorkingValues(perception));
    };
    const auto drawnAfresh = [&] {
        perception.DrawnSample = {};
        return evaluate();
    };
    const auto first = evaluate();
    EXPECT_FALSE(perception.DrawnSample.Pairs.empty());
    EXPECT_EQ(evaluate(), first);
    EXPECT_EQ(drawnAfresh(), first);

    const auto uncertain =
        std::find_if(perception.Links.begin(), perception.Links.end(),
                     [](const auto& link) { return link->Distribution.Count() > 1; });
    ASSERT_NE(uncertain, perception.Links.end());
    Pairs pairs = (*uncertain)->Distribution.Pairs();
    pairs[0].Prob += pairs[1].Prob / 2;
    pairs[1].Prob /= 2;
    (*uncertain)->Distribution.SetPairs(pairs);
    const auto shifted = evaluate();
    EXPECT_EQ(shifted, drawnAfresh());

    generated.Fixture.Case.RandomSeed += 1;
    const auto reseeded = evaluate();
    EXPECT_EQ(reseeded, drawnAfresh());
    EXPECT_NE(reseeded.first, shifted.first);
}

// The standing strategies are evaluated one after the other; the perception is left with the
// working values of the last full evaluation (the search's, or the chosen strategy's when there is
// no search), and each strategy with the results of its own full evaluation.
TEST(UncertainEvaluationTest, StandingStrategiesLeaveTheLastFullEvaluation) {
    test::TGeneratedPerception generated(30, 16, 3);
    generated.Fixture.Case.Evaluations = 12;
    TPerception& perception = *generated.Build.Perception;
    const auto expectEvaluated = [&](TStrategy& strategy) {
        const TProVal utility = strategy.UtilityDist;
        const TProVal frustration = strategy.FrustrationDist;
        const std::vector<TOutcome> outcomes = strategy.Outcomes;
        strategy.Evaluate();
        EXPECT_EQ(strategy.UtilityDist, utility);
        EXPECT_EQ(strategy.FrustrationDist, frustration);
        ASSERT_EQ(strategy.Outcomes.size(), outcomes.size());
        for (std::size_t g = 0; g < outcomes.size(); ++g) {
            EXPECT_EQ(strategy.Outcomes[g].Change, outcomes[g].Change) << "outcome " << g;
        }
    };
    for (const bool search : {true, false}) {
        SCOPED_TRACE(search);
        FindStrategies(perception, search);
        ASSERT_GT(perception.BestStrategy->Tactics.size(), 0u);
        const TWorkingValues left(perception);
        expectEvaluated(*perception.DefaultStrategy);
        expectEvaluated(*perception.ChosenStrategy);
        if (search) {
            ASSERT_GT(perception.BestStrategy->EvaluationCount, 0);
            expectEvaluated(*perception.BestStrategy);
        }
        EXPECT_EQ(TWorkingValues(perception), left);
    }
}

// Scoring the strategies under several rationalities in one pass finds the bounds that searches
// under each in turn find, and leaves the working values, the strategy's results and the random
// generator as the last of them: enumerated and sampled strategies, enumerated and sampled
// combinations of uncertain values, a certain perception, a single goal and a held action.
TEST(UncertainEvaluationTest, ScoresTogetherAsSearchesInTurn) {
    struct TShape {
        const char* Name;
        int FiPs;
        int UncertainLinks;
        int Evaluations;
        bool SingleGoal;
    };
    const TShape shapes[] = {{"certain", 24, 0, 1000000, false},
                             {"enumerated combinations", 24, 5, 1000000, false},
                             {"sampled combinations", 30, 16, 1000000, false},
                             {"sampled strategies", 30, 16, 40, false},
                             {"single goal, sampled strategies", 30, 16, 40, true}};
    const std::vector<int> rationalities{0, 3, 6};
    for (const TShape& shape : shapes) {
        SCOPED_TRACE(shape.Name);
        test::TGeneratedPerception generated(shape.FiPs, shape.UncertainLinks, 4);
        TCase& current = generated.Fixture.Case;
        current.Evaluations = shape.Evaluations;
        TPerception& perception = *generated.Build.Perception;
        InferInfluences(perception);
        CollectUncertainItems(perception);
        const std::vector<TFiP*> held{generated.Actions[1]};
        const auto fresh = [&] {
            TStrategy strategy(&perception, 0);
            for (TFiP* action : generated.Actions) {
                strategy.Tactics.push_back({action, 0, true});
            }
            if (shape.SingleGoal) {
                strategy.SingleGoal = perception.Goals.front().get();
            }
            return strategy;
        };

        TStrategy inTurn = fresh();
        current.Context().Random.Seed(99);
        std::vector<TScoreBounds> expected;
        for (const int rationality : rationalities) {
            inTurn.Rationality = static_cast<std::uint8_t>(rationality);
            inTurn.Search(held);
            expected.push_back({inTurn.BestScore, inTurn.WorstScore});
        }
        const TWorkingValues expectedValues(perception);
        const std::uint32_t expectedRandom = current.Context().Random.State;

        TStrategy together = fresh();
        current.Context().Random.Seed(99);
        const std::vector<TScoreBounds> bounds = together.SearchScores(rationalities, held);
        ASSERT_EQ(bounds.size(), expected.size());
        for (std::size_t i = 0; i < bounds.size(); ++i) {
            EXPECT_EQ(bounds[i].Best, expected[i].Best) << "rationality " << rationalities[i];
            EXPECT_EQ(bounds[i].Worst, expected[i].Worst) << "rationality " << rationalities[i];
        }
        EXPECT_EQ(TWorkingValues(perception), expectedValues);
        EXPECT_EQ(current.Context().Random.State, expectedRandom);
        EXPECT_EQ(together.Rationality, inTurn.Rationality);
        EXPECT_EQ(together.EvaluationCount, inTurn.EvaluationCount);
        EXPECT_TRUE(together.Complete);
        EXPECT_TRUE(together.BestStrategies.empty());
        EXPECT_TRUE(together.WorstStrategies.empty());
        ExpectSameStrategy(together, inTurn);
    }
}

// A search asked for the results of the first best strategy only keeps the same strategies with
// the same levels and scores, that first one with its full results, and leaves the working values
// and the strategy's own results as a search that evaluates every kept strategy.
TEST(UncertainEvaluationTest, FirstBestResultsOnlyKeepsTheSameStrategies) {
    for (const int uncertainLinks : {0, 5, 16}) {
        SCOPED_TRACE(uncertainLinks);
        test::TGeneratedPerception generated(30, uncertainLinks, 4);
        TPerception& perception = *generated.Build.Perception;
        InferInfluences(perception);
        CollectUncertainItems(perception);
        for (std::size_t g = 0; g < perception.Goals.size(); g += 3) {
            TGoal* goal = perception.Goals[g].get();
            SCOPED_TRACE(g);
            const auto search = [&](bool firstOnly) {
                auto strategy = SingleGoalStrategy(perception, goal);
                strategy->FirstBestResultsOnly = firstOnly;
                strategy->Search();
                return std::make_pair(std::move(strategy), TWorkingValues(perception));
            };
            const auto [all, allValues] = search(false);
            const auto [first, firstValues] = search(true);
            EXPECT_EQ(firstValues, allValues);
            ExpectSameStrategy(*first, *all);
            for (const auto lists : {&TStrategy::BestStrategies, &TStrategy::WorstStrategies}) {
                const auto& left = (*first).*lists;
                const auto& right = (*all).*lists;
                ASSERT_EQ(left.size(), right.size());
                for (std::size_t i = 0; i < left.size(); ++i) {
                    for (std::size_t t = 0; t < left[i]->Tactics.size(); ++t) {
                        EXPECT_EQ(left[i]->Tactics[t].Level, right[i]->Tactics[t].Level);
                    }
                    EXPECT_EQ(left[i]->BestScore, right[i]->BestScore);
                    EXPECT_EQ(left[i]->WorstScore, right[i]->WorstScore);
                    EXPECT_EQ(left[i]->TotalAction, right[i]->TotalAction);
                }
            }
            if (!all->BestStrategies.empty()) {
                ExpectSameStrategy(*first->BestStrategies.front(), *all->BestStrategies.front());
            }
        }
    }
}

TEST_F(StrategyTest, ExpectedChangesWithoutAction) {
    TFiP* rain = Build.Factor("Rain");
    TFiP* a = Build.Factor("A");
    TFiP* x = Build.Action("X");
    Build.Prospect(rain, 2);
    Build.Link(rain, a, 1);
    Build.Link(x, a, 2);
    ExpectChanges(*P);
    EXPECT_EQ(a->AutonomousChange.Pairs(), (Pairs{{1, 1}}));
    EXPECT_EQ(a->InfluencingProspects, 1);
    EXPECT_EQ(x->InfluencingProspects, 0);
    EXPECT_TRUE(P->ResultsValid[TPerception::ChangesExpected]);
}

TEST_F(StrategyTest, StandingStrategies) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* fed = Build.Action("Fed");
    TFiP* a = Build.Factor("A");
    Range(x, {-1, 2});
    y->ChosenLevel = -2;
    Build.Link(x, a);
    Build.Link(y, a);
    Build.Link(a, fed);
    Build.Goal(a, 2);
    FindStrategies(*P, false);
    EXPECT_EQ(Levels(*P->DefaultStrategy), (std::vector<int>{-1, 0}));
    EXPECT_EQ(Levels(*P->ChosenStrategy), (std::vector<int>{-1, -2}));
    EXPECT_FALSE(P->ResultsValid[TPerception::StrategiesFound]);
    EXPECT_EQ(P->DefaultStrategy->Outcomes.size(), 1u);
    FindStrategies(*P, true);
    EXPECT_TRUE(P->ResultsValid[TPerception::StrategiesFound]);
    EXPECT_DOUBLE_EQ(P->BestStrategy->BestScore, 0.5);
    EXPECT_EQ(Levels(*P->BestStrategy->BestStrategies[0]), (std::vector<int>{2, 0}));
}

TEST_F(StrategyTest, SingleGoalStrategyHoldsActionsWithoutEffect) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* far = Build.Action("Far");
    TFiP* a = Build.Factor("A");
    Build.Link(x, a);
    Build.Link(y, a, 0);
    Build.Factor("B");
    Build.Link(far, P->FiPs.back().get());
    TGoal* goal = Build.Goal(a, 2);
    const auto strategy = SingleGoalStrategy(*P, goal);
    ASSERT_EQ(strategy->Tactics.size(), 2u);
    EXPECT_TRUE(strategy->Tactics[0].IsVaried);
    EXPECT_FALSE(strategy->Tactics[1].IsVaried);
    strategy->Search();
    EXPECT_EQ(strategy->EvaluationCount, 7);
    EXPECT_DOUBLE_EQ(strategy->BestScore, 0.5);
    EXPECT_FALSE(strategy->BestStrategies[0]->Tactics[1].IsVaried);
}

// The search scores certain perceptions from flat arrays; every rule must agree with scoring each
// combination through the full evaluation.
TEST_F(StrategyTest, QuickScoresAgreeWithFullEvaluation) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TFiP* c = Build.Factor("C");
    Range(y, {0, 1, -2, 3});
    Build.Link(x, a, 2);
    Build.Link(y, a, -1);
    Build.Link(a, b, 3);
    Build.Link(y, c, 1);
    Build.Link(b, c, -2);
    Build.Prospect(b, -1);
    TFiP* d = Build.Factor("D");
    Build.Link(c, d, 2);
    Build.Link(b, d, 1);
    Build.Link(d, b, -1);  // feedback, delayed
    c->Operator = TOperator::opMax;
    b->Operator = TOperator::opMul;
    d->Operator = TOperator::opMin;
    Build.Goal(a, 1, 3);
    Build.Goal(b, -2, 1, TGoalType::gtNegative);
    Build.Goal(c, 0, 2);
    Build.Goal(d, 2, 1);
    InferInfluences(*P);
    // Scored by all goals, and by each goal alone (the single-goal strategies).
    std::vector<TGoal*> singles{nullptr};
    for (const auto& goal : P->Goals) {
        singles.push_back(goal.get());
    }
    for (int rationality : {0, 1, 3, 4, 6, 7}) {
        for (TGoal* single : singles) {
            // Every strategy through the full evaluation, in the search's order; the kept ones by
            // least total action, ties in the order found.
            double best = -1e300;
            double worst = 1e300;
            std::vector<std::pair<double, std::vector<int>>> all;
            TStrategy probe(P, rationality);
            probe.Tactics = {{x, 0, true}, {y, 0, true}};
            for (int i = 0; i < x->FeasibleCount; ++i) {
                for (int j = 0; j < y->FeasibleCount; ++j) {
                    probe.Tactics[0].Level = x->FeasibleLevels[static_cast<std::size_t>(i)];
                    probe.Tactics[1].Level = y->FeasibleLevels[static_cast<std::size_t>(j)];
                    probe.Evaluate();
                    const double score =
                        single != nullptr ? probe.ScoreForGoal(single) : probe.Score();
                    best = std::max(best, score);
                    worst = std::min(worst, score);
                    all.emplace_back(score, Levels(probe));
                }
            }
            const auto kept = [&all](double score) {
                std::vector<std::vector<int>> levels;
                for (const auto& [value, strategy] : all) {
                    if (value == score) {
                        levels.push_back(strategy);
                    }
                }
                std::stable_sort(levels.begin(), levels.end(), [](const auto& p, const auto& q) {
                    return std::abs(p[0]) + std::abs(p[1]) < std::abs(q[0]) + std::abs(q[1]);
                });
                return levels;
            };
            const auto levelsOf = [](const std::vector<std::unique_ptr<TStrategy>>& list) {
                std::vector<std::vector<int>> levels;
                for (const auto& strategy : list) {
                    levels.push_back(Levels(*strategy));
                }
                return levels;
            };
            const TStrategy& s = Searched({x, y}, rationality, single);
            const std::string label =
                std::to_string(rationality) + (single != nullptr ? " single" : "");
            EXPECT_EQ(s.BestScore, best) << label;
            EXPECT_EQ(s.WorstScore, worst) << label;
            EXPECT_EQ(levelsOf(s.BestStrategies), kept(best)) << label;
            EXPECT_EQ(levelsOf(s.WorstStrategies), kept(worst)) << label;
            if (single == nullptr) {
                for (const auto& strategy : s.BestStrategies) {
                    EXPECT_EQ(strategy->Score(), best) << label;
                }
            }
        }
    }
}

// Sampling holds excluded tactics at the levels they have, as enumeration does.
TEST_F(StrategyTest, SamplingKeepsExcludedLevels) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    Build.Link(x, a);
    Build.Link(y, a);
    Build.Goal(a, 2);
    Case.Evaluations = 3;
    InferInfluences(*P);
    TStrategy s(P, 0);
    s.Tactics = {{x, 0, true}, {y, 2, true}};
    s.Search({y});
    EXPECT_EQ(s.EvaluationCount, 3);
    for (const auto* list : {&s.BestStrategies, &s.WorstStrategies}) {
        for (const auto& kept : *list) {
            EXPECT_EQ(kept->Tactics[1].Level, 2);
        }
    }
}

// Between two certain evaluations only what the changed tactics reach is computed again; any
// sequence of level changes must give what a fresh evaluation gives.
TEST_F(StrategyTest, IncrementalEvaluationAgreesWithAFreshOne) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* z = Build.Action("Z");
    TFiP* a = Build.Factor("A");
    TFiP* b = Build.Factor("B");
    TFiP* c = Build.Factor("C");
    Build.Link(x, a, 2);
    Build.Link(y, b, -1);
    Build.Link(a, c, 3);
    Build.Link(b, c, 1);
    Build.Link(c, a, 2);  // feedback, delayed
    Build.Link(z, c, -3);
    c->Operator = TOperator::opMin;
    Build.Prospect(b, 1);
    Build.Goal(a, 1, 3);
    Build.Goal(c, -1, 2);
    InferInfluences(*P);
    std::vector<TTactic> tactics{{x, 0, true}, {y, 0, true}, {z, 0, true}};
    TPropagator incremental(*P, tactics);
    const std::vector<std::array<int, 3>> levels{{0, 0, 0},   {1, 0, 0},  {1, -2, 0}, {1, -2, 0},
                                                 {-3, -2, 3}, {-3, 2, 3}, {0, 0, -1}, {2, 2, 2}};
    for (const auto& step : levels) {
        for (std::size_t t = 0; t < tactics.size(); ++t) {
            tactics[t].Level = static_cast<std::int8_t>(step[t]);
        }
        const TGoalSums quick = incremental.EvaluateCertain();
        const TGoalSums fresh = TPropagator(*P, tactics).EvaluateCertain();
        EXPECT_EQ(quick.Utility, fresh.Utility) << step[0] << step[1] << step[2];
        EXPECT_EQ(quick.Satisfaction, fresh.Satisfaction);
        EXPECT_EQ(quick.Frustration, fresh.Frustration);
    }
}

// A status whose event pump lets the user cancel.
class TCancelOnPump : public TStatus {
  public:
    void SetStatusText(const std::string&) override {}
    void PumpEvents() override {
        if (++Pumps == CancelAt) {
            Context->AnalysisCancelled = true;
        }
    }
    TContext* Context = nullptr;
    int Pumps = 0;
    int CancelAt = 3;
};

TEST(StrategySearchCancel, StoppedSearchIsNotComplete) {
    test::TRecordingMessages messages;
    TCancelOnPump status;
    test::TFixedTextMeasure measure;
    TContext context(messages, status, measure);
    status.Context = &context;
    TCase owningCase(context);
    owningCase.Evaluations = 1000000;
    test::TPerceptionBuilder build(owningCase);
    TFiP* a = build.Factor("A");
    std::vector<TTactic> tactics;
    for (int i = 0; i < 8; ++i) {
        TFiP* action = build.Action("X" + std::to_string(i));
        build.Link(action, a);
        tactics.push_back({action, 0, true});
    }
    build.Goal(a, 3);
    InferInfluences(*build.Perception);
    TStrategy strategy(build.Perception, 0);
    strategy.Tactics = tactics;
    strategy.Search();
    EXPECT_FALSE(strategy.Complete);
    EXPECT_LT(strategy.EvaluationCount, 5000);
}

TEST_F(StrategyTest, TacticCells) {
    TFiP* x = Build.Action("X");
    TFiP* y = Build.Action("Y");
    TFiP* a = Build.Factor("A");
    Range(x, {0, 2, 3});
    Range(y, {0, -1});
    Build.Link(x, a);
    Build.Link(y, a, 0);
    Build.Goal(a, 3);
    const TStrategy& s = Searched({x, y});
    EXPECT_EQ(s.TacticCell(true, true, 0), "all&nbsp;2&nbsp;<img src=\"gif/r3-1.gif\"> ");
    EXPECT_EQ(s.TacticCell(true, true, 1),
              "1<img src=\"gif/r0-1.gif\"> 2<img src=\"gif/r-1-1.gif\"> ");
    EXPECT_EQ(s.TacticCell(true, false, 1), "1<img src=\"gif/r0-1.gif\"> (+1)");
    EXPECT_EQ(s.TacticCell(false, true, 0), "all&nbsp;2&nbsp;<img src=\"gif/r0-1.gif\"> ");
    TStrategy empty(P, 0);
    EXPECT_EQ(empty.TacticCell(true, true, 0), "");
}

TEST_F(StrategyTest, OutcomeTableWithGoals) {
    TFiP* x = Build.Action("X");
    TFiP* a = Build.Factor("Water_level");
    TFiP* b = Build.Factor("B");
    Build.Link(x, a, 2);
    Build.Link(x, b, -2);
    Build.Goal(a, 1);
    Build.Goal(b, 1);
    TStrategy& s = Evaluated({{x, 1, true}});
    bool showGoals = true;
    EXPECT_EQ(
        s.OutcomeTable(showGoals),
        "<td valign=\"bottom\"><table width=\"100%\">"
        "<tr><td width=16><img src=\"gif/factor.gif\"></td><td>Water&nbsp;level</td>"
        "<td><img src=\"gif/u-3-3-2-1210.gif\"></td><td><img src=\"gif/h0h0h0h0h12h0h0.gif\"></td>"
        "<td align=\"right\">0.50</td></tr>"
        "<tr><td width=16><img src=\"gif/factor.gif\"></td><td>B</td>"
        "<td><img src=\"gif/u-3-3-2-1210.gif\"></td><td><img src=\"gif/h0h0h12h0h0h0h0.gif\"></td>"
        "<td align=\"right\"><nobr>-0.50</nobr></td></tr>"
        "<tr><td colspan=\"5\" align=\"right\"><table border=\"0\" width=\"100%\"><tr>"
        "<td align=\"right\" bgcolor=\"silver\"><b>Utility: 0</b></td>"
        "<td bgcolor=\"yellow\" align=\"right\">+0.50&nbsp;<img src=\"gif/tozero.gif\" "
        "align=\"absbottom\">&nbsp;-0.50</td></tr></table></td></tr></table></td>");
    EXPECT_FALSE(showGoals);
}

}  // namespace
}  // namespace kavo
