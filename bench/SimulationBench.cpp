#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SimulatedCase.h"
#include "casefile/TCaseReader.h"
#include "model/TCase.h"
#include "simulation/RoundZero.h"
#include "simulation/Rounds.h"
#include "simulation/TRoundExecution.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// The example case of examples/Water, read once.
test::TCaseFixture& Example() {
    static auto fixture = [] {
        auto f = std::make_unique<test::TCaseFixture>();
        ReadCase(f->Case, std::string(KAVO_EXAMPLES) + "/Water");
        return f;
    }();
    return *fixture;
}

void BM_CompileRound0Example(benchmark::State& state) {
    TCase& example = Example().Case;
    for (auto _ : state) {
        TakeSimulationArenas(example);
        benchmark::DoNotOptimize(CompileRound0(example));
    }
}
BENCHMARK(BM_CompileRound0Example)->Unit(benchmark::kMillisecond);

// One round of the example after round 0: the later round is replaced each time.
void BM_ExampleRound(benchmark::State& state) {
    TCase& example = Example().Case;
    TakeSimulationArenas(example);
    TArena* zero = CompileRound0(example);
    TRoundExecution execution(example);
    for (auto _ : state) {
        benchmark::DoNotOptimize(execution.Run(zero));
    }
}
BENCHMARK(BM_ExampleRound)->Unit(benchmark::kMillisecond);

// Round 0 and 20 rounds of the generated case of 10 actors in 5 arenas.
void BM_TwentyRounds(benchmark::State& state) {
    std::int64_t evaluations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto simulated = std::make_unique<bench::TSimulatedCase>();
        state.ResumeTiming();
        TArena* round = CompileRound0(simulated->Case);
        TRoundExecution execution(simulated->Case);
        for (int i = 0; i < 20; ++i) {
            const TRoundReport report = *execution.Run(round);
            for (const TActorTurn& turn : report.Turns) {
                evaluations += turn.Evaluations;
            }
            round = report.Round;
        }
        state.PauseTiming();
        simulated.reset();
        state.ResumeTiming();
    }
    state.counters["strategies/round"] = benchmark::Counter(static_cast<double>(evaluations) / 20,
                                                            benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TwentyRounds)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo
