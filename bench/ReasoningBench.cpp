#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "reasoning/Inference.h"
#include "reasoning/TPath.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"
#include "support/TGeneratedPerception.h"
#include "support/TScalarLoop.h"

namespace kavo {
namespace {

using test::TGeneratedPerception;

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
BENCHMARK(BM_StrategySearch)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Unit(benchmark::kMillisecond);

// The yardstick: a plain loop over the same strategies of the same perceptions, each evaluated
// from scratch (test::TScalarLoop).
void BM_ScalarLoop(benchmark::State& state) {
    TGeneratedPerception generated(static_cast<int>(state.range(0)));
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    test::TScalarLoop loop(perception, generated.Actions);
    std::int64_t evaluations = 0;
    for (auto _ : state) {
        const test::TScalarLoop::TResult result = loop.Search();
        benchmark::DoNotOptimize(result.Best);
        evaluations += result.Evaluations;
    }
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScalarLoop)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Unit(benchmark::kMillisecond);

// Strategy search in a perception of 40 factors whose first k links are uncertain (two or three
// values each): every strategy is evaluated over every combination of their values, or over the
// fixed sample of kMaxCombinations where there are more. The search samples 100 of the 117,649
// strategies, as a case whose Evaluations are left at 0 does.
void BM_UncertainSearch(benchmark::State& state) {
    TGeneratedPerception generated(40, static_cast<int>(state.range(0)));
    generated.Fixture.Case.Evaluations = 100;
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    TStrategy strategy(&perception, 0);
    for (TFiP* action : generated.Actions) {
        strategy.Tactics.push_back({action, 0, true});
    }
    std::int64_t evaluations = 0;
    for (auto _ : state) {
        strategy.Search();
        evaluations += strategy.EvaluationCount;
    }
    const std::uint64_t sampled = SampledCombinations(perception);
    state.counters["combinations"] =
        static_cast<double>(sampled > 0 ? sampled : UncertainCombinations(perception));
    state.counters["sampled"] = sampled > 0 ? 1 : 0;
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
    state.counters["combinations/s"] =
        benchmark::Counter(static_cast<double>(evaluations) * state.counters["combinations"].value,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UncertainSearch)->Arg(3)->Arg(6)->Arg(12)->Unit(benchmark::kMillisecond);

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The search and the yardstick in alternation on one perception, each timed by the CPU time of
// its own half, so that both meet the same load: ratio > 1 means the search is the faster.
void BM_SearchAgainstLoop(benchmark::State& state) {
    TGeneratedPerception generated(static_cast<int>(state.range(0)));
    TPerception& perception = *generated.Build.Perception;
    InferInfluences(perception);
    TStrategy strategy(&perception, 0);
    for (TFiP* action : generated.Actions) {
        strategy.Tactics.push_back({action, 0, true});
    }
    test::TScalarLoop loop(perception, generated.Actions);
    double searchSeconds = 0;
    double loopSeconds = 0;
    double evaluations = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        strategy.Search();
        const double middle = ThreadSeconds();
        benchmark::DoNotOptimize(loop.Search().Best);
        const double end = ThreadSeconds();
        searchSeconds += middle - start;
        loopSeconds += end - middle;
        evaluations += static_cast<double>(strategy.EvaluationCount);
    }
    state.counters["search M/s"] = evaluations / searchSeconds * 1e-6;
    state.counters["loop M/s"] = evaluations / loopSeconds * 1e-6;
    state.counters["ratio"] = loopSeconds / searchSeconds;
}
BENCHMARK(BM_SearchAgainstLoop)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Unit(benchmark::kMillisecond);

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

// A random directed graph of the given number of factors and links, cycles allowed, all links
// certain: the graph of the path enumeration benchmarks.
struct TRandomGraph {
    TRandomGraph(int factors, int links, std::uint32_t seed) {
        test::TDraws draws(seed);
        for (int i = 0; i < factors; ++i) {
            FiPs.push_back(Build.Factor("F" + std::to_string(i)));
        }
        while (static_cast<int>(Build.Perception->Links.size()) < links) {
            TFiP* from = FiPs[static_cast<std::size_t>(draws.Below(factors))];
            TFiP* to = FiPs[static_cast<std::size_t>(draws.Below(factors))];
            if (from != to && Build.Perception->FindLink(from->Factor, to->Factor) == nullptr) {
                const int magnitude = 1 + draws.Below(3);
                Build.Link(from, to, draws.Below(2) == 0 ? magnitude : -magnitude);
            }
        }
    }

    test::TCaseFixture Fixture;
    test::TPerceptionBuilder Build{Fixture.Case};
    std::vector<TFiP*> FiPs;
};

// Every causal path of a random graph of F factors and L links drawn from a seed (arguments F, L,
// seed): the time per path and per path link, and the heap allocations per path, of one step of
// the inference. The graph of 30 factors and 60 links is the one the comparison with other path
// enumerations uses; the others show how the time grows with the number and length of the paths.
template <typename TStep>
void RandomGraphPaths(benchmark::State& state, TStep step) {
    TRandomGraph graph(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                       static_cast<std::uint32_t>(state.range(2)));
    TPerception& perception = *graph.Build.Perception;
    std::uint64_t allocations = 0;
    for (auto _ : state) {
        const std::uint64_t before = bench::AllocationCount();
        step(perception);
        allocations += bench::AllocationCount() - before;
    }
    double links = 0;
    for (const TPath path : perception.Paths) {
        links += static_cast<double>(path.Links().size());
    }
    const double paths = static_cast<double>(perception.Paths.size());
    const double runs = static_cast<double>(state.iterations());
    state.counters["paths"] = paths;
    state.counters["links per path"] = links / paths;
    state.counters["time per path"] =
        benchmark::Counter(paths * runs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["time per link"] =
        benchmark::Counter(links * runs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocations/path"] = static_cast<double>(allocations) / (paths * runs);
}

void RandomGraphSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Args({30, 60, 1})->Args({30, 60, 2})->Args({30, 60, 3});
    benchmark->Args({30, 45, 1})->Args({30, 70, 1})->Args({40, 75, 1})->Args({35, 70, 1});
    benchmark->Unit(benchmark::kMillisecond);
}

void BM_BuildPaths(benchmark::State& state) {
    RandomGraphPaths(state, [](TPerception& perception) { BuildPaths(perception); });
}
BENCHMARK(BM_BuildPaths)->Apply(RandomGraphSizes);

void BM_InferRandomGraph(benchmark::State& state) {
    RandomGraphPaths(state, [](TPerception& perception) { InferInfluences(perception); });
}
BENCHMARK(BM_InferRandomGraph)->Apply(RandomGraphSizes);

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
BENCHMARK(BM_UncertainPropagation)
    ->Arg(4)
    ->Arg(6)
    ->Arg(8)
    ->Arg(10)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo
