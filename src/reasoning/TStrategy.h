#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "reasoning/TOutcome.h"
#include "reasoning/TProVal.h"
#include "reasoning/TTactic.h"

namespace kavo {

class TCombinationObserver;
class TFiP;
class TGoal;
class TPerception;
class TPropagator;

// The best and worst score a search found.
struct TScoreBounds {
    double Best = -std::numeric_limits<double>::infinity();
    double Worst = std::numeric_limits<double>::infinity();
};

// A set of tactics, one per action of the perception's owner, with what its last evaluation gave
// and, after a search, the best and worst strategies found.
//
// Rationality 0..8 picks the score: utility (0 expected value, 1 MaxiMin, 2 least regret),
// satisfaction (3, 4, 5 likewise) and frustration (6 expected value, 7 MiniMax, 8 least regret);
// higher is better, and the least-regret rules score 0.
class TStrategy {
  public:
    TStrategy(TPerception* perception, int rationality);

    // Not owned.
    TPerception* Perception;
    std::uint8_t Rationality;
    std::vector<TTactic> Tactics;
    // Sum of the tactics' absolute levels, set by Clone.
    int TotalAction = 0;
    TProVal UtilityDist{TProValKind::pvUtility};
    TProVal SatisfactionDist{TProValKind::pvSatisfaction};
    TProVal FrustrationDist{TProValKind::pvFrustration};
    // One per goal of the perception, in goal order.
    std::vector<TOutcome> Outcomes;
    double BestScore = -std::numeric_limits<double>::infinity();
    double WorstScore = std::numeric_limits<double>::infinity();
    // Every strategy that tied for the best (worst) score, by ascending TotalAction once complete.
    std::vector<std::unique_ptr<TStrategy>> BestStrategies;
    std::vector<std::unique_ptr<TStrategy>> WorstStrategies;
    // The lists keep the first kMaxTies strategies of a tie; these count every strategy that tied
    // for the best (worst) score.
    static constexpr std::size_t kMaxTies = 10000;
    std::uint64_t BestTies = 0;
    std::uint64_t WorstTies = 0;
    // A goal scored alone; not owned.
    TGoal* SingleGoal = nullptr;
    // The search ran to its end without being cancelled.
    bool Complete = false;
    // Strategies evaluated by the last search.
    std::int64_t EvaluationCount = 0;
    // The number of strategies the last search chose from: the product of the feasible counts of
    // the tactics it varied (1 when it varied none), at most the largest uint64.
    std::uint64_t StrategyCount = 0;
    // The number of combinations of uncertain values the last evaluation was estimated on
    // (kMaxCombinations), or 0 when it visited every combination and its results are exact.
    std::uint64_t SampledCombinations = 0;
    // Sees every combination of uncertain values the strategy's evaluations visit, searches
    // included; not owned, not cloned.
    TCombinationObserver* Observer = nullptr;
    // Set, a search evaluates in full only the strategy that comes first among the best once they
    // are sorted (the first found of the least action); the other strategies it keeps hold their
    // levels and scores without results. For a caller that reads no other results; not cloned.
    bool FirstBestResultsOnly = false;

    // Scores back to -infinity and +infinity, outcomes and both lists cleared, not complete.
    void Reset();
    TTactic* TacticOf(const TFiP* fip);
    std::unique_ptr<TStrategy> Clone() const;
    // Propagates the tactics through the perception (which must have been inferred) over every
    // combination of uncertain values, and sets the outcomes, the three result distributions and
    // every FiP's Change.
    void Evaluate();
    // The same with a propagator compiled for this strategy's tactics.
    void EvaluateWith(TPropagator& propagator);
    // Sets the outcomes and the three result distributions as Evaluate does, but leaves the
    // perception's working values (every FiP's Change and the values of the propagation) as they
    // happen to be: for a strategy whose evaluation another one follows before anything reads them.
    void EvaluateResults();
    // The outcome change of the goal, or certain change 0 when the goal has none.
    TProVal OutcomeOf(const TGoal* goal) const;
    double Score() const { return ScoreUnder(Rationality); }
    double ScoreForGoal(const TGoal* goal) const { return ScoreForGoal(goal, Rationality); }
    // The same under another rationality 0..8.
    double ScoreUnder(int rationality) const;
    double ScoreForGoal(const TGoal* goal, int rationality) const;
    // Evaluates every combination of the feasible levels of the varied tactics, or samples about
    // the case's Evaluations of them when there are more; tactics on excluded FiPs keep their
    // level. Shows progress in the status text, lets events run and stops when the user cancels
    // (Complete stays false then). A varied tactic without a feasible level is held at level 0.
    // Afterwards the perception's working values (every FiP's Change and the values of the
    // propagation) and this strategy's results are those of an evaluation at its last levels, and
    // the result is true, when the search evaluated anything; otherwise they are left as they were.
    bool Search(const std::vector<TFiP*>& exclude = {});
    // The best and worst scores that Search finds under each of the rationalities, in turn, as
    // from searches one after the other (which visit the same strategies in the same order), but
    // each strategy evaluated once for all of them where the perception has uncertain items. Keeps
    // no strategies: the lists stay empty. The working values, this strategy's levels, results
    // and rationality (the last one), and the random generator are left as the last of those
    // searches leaves them. When the user cancels, the bounds of the searches a cancel would have
    // let start: the first search's, partial, when the strategies were scored together.
    std::vector<TScoreBounds> SearchScores(const std::vector<int>& rationalities,
                                           const std::vector<TFiP*>& exclude = {});

    // Report fragments: the level of tactic t in the best (or worst) strategies as rating icons,
    // and the outcome of every goal as a table with its utility. ShowGoals adds the goal columns
    // and is reset afterwards.
    std::string TacticCell(bool best, bool complete, int t) const;
    std::string OutcomeTable(bool& showGoals) const;
};

}  // namespace kavo
