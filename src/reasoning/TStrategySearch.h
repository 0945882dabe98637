#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

class TCase;
class TFiP;
class TPropagator;
class TStrategy;
struct TScoreBounds;

// One run of TStrategy::Search: enumerates or samples the levels of the varied tactics, evaluates
// each combination and records the best and worst. In a perception without uncertain items a
// combination is scored from the propagator's flat arrays without touching the model or the heap,
// recomputing only what the tactics changed since the last one reach. In a perception with
// uncertain items each combination is evaluated only as far as its score needs. Either way the
// strategies that tie for the best or worst are kept as levels and evaluated in full and cloned
// once the search ends.
class TStrategySearch {
  public:
    TStrategySearch(TStrategy& strategy, const std::vector<TFiP*>& exclude);
    ~TStrategySearch();

    // True when it leaves the working values as an evaluation at the strategy's levels does.
    bool Run();
    // TStrategy::SearchScores.
    std::vector<TScoreBounds> RunScores(const std::vector<int>& rationalities);

  private:
    // The strategies a search of a certain perception keeps, by their levels (one per tactic,
    // strategy after strategy) and the search's best and worst scores when each was found.
    struct TKept {
        std::vector<std::int8_t> Levels;
        std::vector<std::pair<double, double>> Scores;
        void Clear() {
            Levels.clear();
            Scores.clear();
        }
    };

    bool Excluded(std::size_t tactic) const;
    // Held at level 0 by sampling; also a varied tactic without any feasible level.
    bool Held(std::size_t tactic) const;
    // The number of combinations of the varied tactics' feasible levels, at most the largest
    // uint64.
    std::uint64_t StrategyCount() const;
    void Enumerate();
    void Sample(std::int64_t limit, std::uint64_t combinations);
    // Counts one evaluation, shows progress and lets events run now and then; false once the
    // user has cancelled.
    bool Count(const char* verb);
    // Scores the strategy at its current levels (changed: a bit for each tactic whose level
    // changed since the last one) and keeps it when it ties or beats the best or worst.
    void Record(std::uint64_t changed);
    // Scores the tactic at each of its feasible levels at once (changed as for Record) and
    // counts and keeps each strategy in turn; false once the user has cancelled.
    bool EvaluateLevelsOf(std::size_t tactic, std::uint64_t changed);
    // Keeps the strategy at its current levels when its score ties or beats the best or worst.
    void Keep(double score);
    // Moves the bounds of each rationality scored together by the strategy's scores.
    void KeepBounds(const double* scores);
    void KeepAs(TKept& kept, std::vector<std::unique_ptr<TStrategy>>& list);
    // Evaluates and clones the kept strategies, in the order they were found; those not marked
    // in withResults are cloned without results. Evaluated holds, by the levels of the tactics
    // that reach a goal, a clone already evaluated with them, and gains the clones evaluated here.
    void Materialize(const TKept& kept, std::vector<std::unique_ptr<TStrategy>>& list,
                     std::map<std::vector<std::int8_t>, const TStrategy*>& evaluated,
                     const std::vector<bool>& withResults);

    TStrategy& Strategy;
    const TCase& Current;
    const std::vector<TFiP*>& Exclude;
    std::vector<bool> IsExcluded;
    std::unique_ptr<TPropagator> Propagator;
    // A certain perception: strategies are scored from the propagator's flat arrays.
    bool Quick = false;
    // The kept strategies are evaluated in full and cloned only once the search ends.
    bool Deferred = false;
    // The rationalities scored together (RunScores) and their bounds so far; empty for a search
    // under the strategy's own rationality.
    std::vector<int> Rationalities;
    std::vector<TScoreBounds> Bounds;
    // The tactics that reach a goal (TPropagator::GoalTactics), and the scores of an uncertain
    // perception's strategies by the levels of those tactics (the others at 0): where in Scores
    // they start, one per rationality scored.
    std::uint64_t GoalReach = 0;
    std::map<std::vector<std::int8_t>, std::size_t> Scored;
    std::vector<double> Scores;
    // The score of every strategy when the single goal is not the perception's.
    std::optional<double> FixedScore;
    TKept Best;
    TKept Worst;
    std::string Tail;
    std::int64_t Step = 1;
    std::int64_t NextStatus = 1;
    std::int64_t NextPump = 1;
};

}  // namespace kavo
