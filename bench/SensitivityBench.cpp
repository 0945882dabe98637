#include <benchmark/benchmark.h>

#include <string>

#include "analyses/Sensitivity.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// The whole sensitivity of a perception with 10 uncertain prospects of 3 values each and 6 free
// actions of 7 levels: 7^6 strategies (sampled, with the case's Evaluations of 100), 3^10
// combinations of uncertain values (estimated on the fixed sample of 4,096), and 31 searches.
void BM_Sensitivity(benchmark::State& state) {
    test::TCaseFixture fixture;
    test::TPerceptionBuilder build(fixture.Case);
    std::vector<TFiP*> actions;
    for (int i = 0; i < 6; ++i) {
        actions.push_back(build.Action("Action " + std::to_string(i)));
    }
    std::vector<TFiP*> goals;
    for (int i = 0; i < 3; ++i) {
        goals.push_back(build.Factor("Goal " + std::to_string(i)));
        build.Goal(goals.back(), i - 1, 1 + i);
    }
    for (int i = 0; i < 10; ++i) {
        TFiP* middle = build.Factor("Middle " + std::to_string(i));
        build.Prospect(middle, {{0.25, -1}, {0.5, 0}, {0.25, 1}});
        build.Link(actions[static_cast<std::size_t>(i % 6)], middle, i % 2 == 0 ? 2 : -1);
        build.Link(middle, goals[static_cast<std::size_t>(i % 3)], i % 3 == 0 ? 1 : 2);
    }
    std::size_t items = 0;
    for (auto _ : state) {
        const TSensitivity result = FindSensitivity(*build.Perception);
        items = result.Items.size();
        benchmark::DoNotOptimize(result.Base.Score);
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_Sensitivity)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo
