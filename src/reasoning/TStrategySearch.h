#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TCase;
class TFiP;
class TPropagator;
class TStrategy;

// One run of TStrategy::Search: enumerates or samples the levels of the varied tactics, evaluates
// each combination and records the best and worst. In a perception without uncertain items a
// combination is scored from the propagator's flat arrays without touching the model or the heap;
// only a strategy that ties or beats a recorded score is evaluated in full and cloned.
class TStrategySearch {
  public:
    TStrategySearch(TStrategy& strategy, const std::vector<TFiP*>& exclude);
    ~TStrategySearch();

    void Run();

  private:
    bool Excluded(std::size_t tactic) const;
    // Held at level 0 by sampling; also a varied tactic without any feasible level.
    bool Held(std::size_t tactic) const;
    // The number of combinations of the varied tactics' feasible levels, at most the largest
    // uint64.
    std::uint64_t StrategyCount() const;
    void Enumerate(std::size_t tactic);
    void Sample(std::int64_t limit, std::uint64_t combinations);
    // Counts one evaluation, shows progress and lets events run now and then; false once the
    // user has cancelled.
    bool Count(const char* verb);
    void Record();
    double QuickScore();

    TStrategy& Strategy;
    const TCase& Current;
    std::vector<bool> IsExcluded;
    std::unique_ptr<TPropagator> Propagator;
    int SingleGoalIndex = -1;
    std::string Tail;
    std::int64_t Step = 1;
    bool Stopped = false;
};

}  // namespace kavo
