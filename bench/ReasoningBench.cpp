#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "reasoning/Inference.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// A small fixed generator, so that every run builds the same perceptions.
class TDraws {
  public:
    explicit TDraws(std::uint32_t seed) : State(seed) {}
    int Below(int n) {
        State = State * 1664525u + 1013904223u;
        return static_cast<int>((State >> 8) % static_cast<std::uint32_t>(n));
    }

  private:
    std::uint32_t State;
};

// A causal map of the given number of factors-in-perception: free actions of 7 feasible levels
// each and plain factors, joined by twice as many links as there are FiPs, all running forward (so
// without cycles); 8 goals on the last factors; links of level +-1..+-3, the first ones of them
// uncertain (degree 1, three pairs) when asked.
struct TGeneratedPerception {
    explicit TGeneratedPerception(int fipCount, int uncertainLinks = 0, int actions = 6) {
        TDraws draws(static_cast<std::uint32_t>(fipCount) * 7919u + 17u);
        const int goals = 8;
        for (int i = 0; i < actions; ++i) {
            Actions.push_back(Build.Action("Act" + std::to_string(i)));
        }
        for (int i = actions; i < fipCount; ++i) {
            Factors.push_back(Build.Factor("F" + std::to_string(i)));
        }
        const int factors = static_cast<int>(Factors.size());
        const auto level = [&draws] {
            const int magnitude = 1 + draws.Below(3);
            return draws.Below(2) == 0 ? magnitude : -magnitude;
        };
        int links = 0;
        const auto link = [&](TFiP* from, TFiP* to) {
            const std::size_t before = Build.Perception->Links.size();
            Build.Link(from, to, level(), links < uncertainLinks ? 1 : 0);
            links += Build.Perception->Links.size() > before ? 1 : 0;
        };
        // Every action reaches the first third; every factor past the first has a cause.
        for (TFiP* action : Actions) {
            link(action, Factors[static_cast<std::size_t>(draws.Below(factors / 3 + 1))]);
        }
        for (int j = 1; j < factors; ++j) {
            link(Factors[static_cast<std::size_t>(draws.Below(j))],
                 Factors[static_cast<std::size_t>(j)]);
        }
        const int possible = factors * (factors - 1) / 2 + actions * factors;
        while (links < std::min(2 * fipCount, possible)) {
            const int from = draws.Below(actions + factors - 1);
            if (from < actions) {
                link(Actions[static_cast<std::size_t>(from)],
                     Factors[static_cast<std::size_t>(draws.Below(factors))]);
                continue;
            }
            const int start = from - actions;
            link(Factors[static_cast<std::size_t>(start)],
                 Factors[static_cast<std::size_t>(start + 1 + draws.Below(factors - start - 1))]);
        }
        for (int g = 0; g < goals && g < factors; ++g) {
            Build.Goal(Factors[static_cast<std::size_t>(factors - 1 - g)], level(), 1 + g % 3);
        }
        Fixture.Case.Evaluations = 1000000;
    }

    test::TCaseFixture Fixture;
    test::TPerceptionBuilder Build{Fixture.Case};
    std::vector<TFiP*> Actions;
    std::vector<TFiP*> Factors;
};

// Strategy search over every combination of the 6 actions' levels (7^6 = 117,649) in a certain
// perception.
void BM_StrategySearch(benchmark::State& state) {
    TGeneratedPerception generated(static_cast<int>(state.range(0)));
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    TStrategy strategy(&perception, 0);
    for (TFiP* action : generated.Actions) {
        strategy.Tactics.push_back({action, 0, true});
    }
    std::int64_t evaluations = 0;
    std::uint64_t allocations = 0;
    std::size_t kept = 0;
    for (auto _ : state) {
        const std::uint64_t before = bench::AllocationCount();
        strategy.Search();
        allocations += bench::AllocationCount() - before;
        evaluations += strategy.EvaluationCount;
        kept = strategy.BestStrategies.size() + strategy.WorstStrategies.size();
    }
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
    state.counters["allocations/evaluation"] =
        static_cast<double>(allocations) / static_cast<double>(evaluations);
    state.counters["strategies kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_StrategySearch)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond);

// One evaluation of a strategy in a certain perception, as the search scores it, with nothing
// kept: the bare propagation and goal sums.
void BM_CertainEvaluation(benchmark::State& state) {
    TGeneratedPerception generated(static_cast<int>(state.range(0)));
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    std::vector<TTactic> tactics;
    for (TFiP* action : generated.Actions) {
        tactics.push_back({action, 1, true});
    }
    TPropagator propagator(perception, tactics);
    const std::uint64_t before = bench::AllocationCount();
    for (auto _ : state) {
        tactics[0].Level = static_cast<std::int8_t>(tactics[0].Level == 1 ? -1 : 1);
        benchmark::DoNotOptimize(propagator.EvaluateCertain());
    }
    state.counters["allocations/evaluation"] = benchmark::Counter(
        static_cast<double>(bench::AllocationCount() - before) / state.iterations());
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CertainEvaluation)->Arg(20)->Arg(40)->Arg(80);

// Inference of paths, cycles, order and all impacts in generated perceptions; the time per path
// shows how the work grows with the number of paths.
void BM_InferInfluences(benchmark::State& state) {
    TGeneratedPerception generated(static_cast<int>(state.range(0)),
                                   static_cast<int>(state.range(1)), 3);
    TPerception& perception = *generated.Build.Perception;
    std::size_t paths = 0;
    for (auto _ : state) {
        InferInfluences(perception);
        paths = perception.Paths.size();
    }
    state.counters["paths"] = static_cast<double>(paths);
    state.counters["time per path"] =
        benchmark::Counter(static_cast<double>(paths) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InferInfluences)
    ->Args({10, 0})
    ->Args({15, 0})
    ->Args({20, 0})
    ->Args({25, 0})
    ->Args({30, 0})
    ->Args({20, 6})
    ->Args({30, 6})
    ->Unit(benchmark::kMillisecond);

// A full evaluation over every combination of uncertain link values: 3^k combinations for k
// uncertain links of three pairs each.
void BM_UncertainPropagation(benchmark::State& state) {
    const int uncertain = static_cast<int>(state.range(0));
    TGeneratedPerception generated(40, uncertain);
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    TStrategy strategy(&perception, 0);
    for (TFiP* action : generated.Actions) {
        strategy.Tactics.push_back({action, 1, true});
    }
    std::int64_t combinations = 1;
    for (const auto& link : perception.Links) {
        combinations *= link->Distribution.Count();
    }
    for (auto _ : state) {
        strategy.Evaluate();
        benchmark::DoNotOptimize(strategy.UtilityDist);
    }
    state.counters["combinations"] = static_cast<double>(combinations);
    state.counters["combinations/s"] = benchmark::Counter(
        static_cast<double>(combinations * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UncertainPropagation)->Arg(4)->Arg(6)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo
