#include <benchmark/benchmark.h>

#include <QChartView>
#include <QImage>
#include <QPainter>
#include <memory>

#include "SimulatedCase.h"
#include "app/TRoundPlotWindow.h"
#include "simulation/RoundZero.h"
#include "simulation/TRoundExecution.h"

namespace kavo {
namespace {

// The generated case of 10 actors in 5 arenas after 20 rounds, played once.
bench::TSimulatedCase& Played() {
    static auto played = [] {
        auto simulated = std::make_unique<bench::TSimulatedCase>();
        TArena* round = CompileRound0(simulated->Case);
        for (int i = 0; i < 20; ++i) {
            round = TRoundExecution(simulated->Case).Run(round)->Round;
        }
        return simulated;
    }();
    return *played;
}

// What the plot window does after a round: the chart computed and built anew, and painted into
// an image of the window's size (the screen's part of it).
void BM_PlotRedraw(benchmark::State& state) {
    bench::TSimulatedCase& played = Played();
    TRoundPlotWindow window(played.Platform.Messages);
    window.resize(760, 520);
    window.ShowPlot(played.Case);
    window.SelectPlot(static_cast<TPlotType>(state.range(0)));
    QChartView* view = window.findChild<QChartView*>();
    QImage image(view->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        window.RefreshPlot();
        QPainter painter(&image);
        view->render(&painter);
    }
    state.counters["series"] = static_cast<double>(window.Chart()->series().size());
}
BENCHMARK(BM_PlotRedraw)
    ->ArgName("type")
    ->Arg(static_cast<int>(TPlotType::ptTactics))
    ->Arg(static_cast<int>(TPlotType::ptChanges))
    ->Arg(static_cast<int>(TPlotType::ptUtilities))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo
