#include <benchmark/benchmark.h>

#include "SamplePerception.h"
#include "analyses/TQuickAnalysis.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TLayout.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "support/TangledPerception.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// One step of the automatic layout on a tangle of n boxes with one and a half links per box,
// spread over a square that grows with n, as the desktop program's timer runs it: the step and
// the placement and link end points that the following drawing stores.
void BM_LayoutStep(benchmark::State& state) {
    test::TCaseFixture fixture;
    fixture.Case.MaxWidth = 3200;
    fixture.Case.MaxHeight = 2400;
    const int boxes = static_cast<int>(state.range(0));
    TPerception& tangle = test::BuildTangledPerception(fixture.Case, boxes, 1, 60 * boxes / 10);
    TLayout layout;
    layout.Fit(tangle);
    for (auto _ : state) {
        layout.Step(tangle, fixture.Context.Random);
    }
    state.SetComplexityN(boxes);
}
BENCHMARK(BM_LayoutStep)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Complexity(benchmark::oNSquared)
    ->Unit(benchmark::kMicrosecond);

// The same on the large sample perception of 200 boxes and 400 links.
void BM_LayoutStepSample(benchmark::State& state) {
    test::TCaseFixture fixture;
    TPerception& view = bench::BuildSamplePerception(fixture.Case);
    TLayout layout;
    layout.Fit(view);
    for (auto _ : state) {
        layout.Step(view, fixture.Context.Random);
    }
}
BENCHMARK(BM_LayoutStepSample)->Unit(benchmark::kMicrosecond);

// A tick of the desktop program's layout run on the sample perception: the step as an edit, merged
// into the run's one undoable step as the undo stack merges it.
void BM_LayoutTickAsEdit(benchmark::State& state) {
    test::TCaseFixture fixture;
    TPerception& view = bench::BuildSamplePerception(fixture.Case);
    TLayout layout;
    layout.Fit(view);
    TEdit run;
    LayOutStep(run, view, layout, fixture.Context.Random);
    for (auto _ : state) {
        TEdit step;
        LayOutStep(step, view, layout, fixture.Context.Random);
        run.Absorb(std::move(step));
    }
}
BENCHMARK(BM_LayoutTickAsEdit)->Unit(benchmark::kMicrosecond);

// What the quick-analysis pane does on a pointer move over the sample perception of 200 boxes
// and 400 links, every switch on, five factors selected: explain the strategies, the link and the
// action level under the pointer from the perception's results, computed once before.
void BM_QuickAnalysisUpdate(benchmark::State& state) {
    test::TCaseFixture fixture;
    TPerception& view = bench::BuildSamplePerception(fixture.Case);
    for (int i = 3; i < 200; i += 40) {
        view.Selection.push_back(view.FiPs[static_cast<std::size_t>(i)].get());
    }
    TQuickAnalysis quick(fixture.Measure, TFont{});
    quick.Influence = quick.USF = quick.Noise = quick.Strategies = true;
    const TFiP* action = view.FiPs[20].get();
    const TLink* link = view.Links[50].get();
    quick.Explain(view, action, 2, link);
    int hovered = 0;
    std::size_t lines = 0;
    for (auto _ : state) {
        // The pointer moves from one box to the next.
        const TFiP* fip = view.FiPs[static_cast<std::size_t>(hovered)].get();
        hovered = (hovered + 3) % 200;
        quick.Explain(view, fip, fip->Factor->IsAction ? 2 : kNoLevel, link);
        lines += quick.Lines().size();
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(lines) / static_cast<double>(state.iterations()));
    state.counters["inferred"] = view.ResultsValid[TPerception::Inferred];
    state.counters["strategies"] = view.ResultsValid[TPerception::StrategiesFound];
    state.counters["tactics"] = view.ResultsValid[TPerception::TacticsEvaluated];
}
BENCHMARK(BM_QuickAnalysisUpdate)->Unit(benchmark::kMicrosecond);

// The first pointer move after an edit of the same perception, which computes the results anew:
// inference, the changes nobody causes, the ratings of every action and the strategies.
void BM_QuickAnalysisAfterEdit(benchmark::State& state) {
    test::TCaseFixture fixture;
    TPerception& view = bench::BuildSamplePerception(fixture.Case);
    view.Selection.push_back(view.FiPs[3].get());
    TQuickAnalysis quick(fixture.Measure, TFont{});
    quick.Influence = quick.USF = quick.Noise = quick.Strategies = true;
    for (auto _ : state) {
        view.InvalidateResults();
        quick.Explain(view, view.FiPs[20].get(), 2, view.Links[50].get());
    }
}
BENCHMARK(BM_QuickAnalysisAfterEdit)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kavo
