#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "SamplePerception.h"
#include "diagram/PerceptionDrawing.h"
#include "qtgui/TQtCanvas.h"
#include "qtgui/TQtTextMeasure.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// A perception of 200 boxes and 400 links drawn into an image as large as its extent, from
// filling the image white to the last box, with boxes laid out in Qt's own font metrics.
void BM_DrawPerceptionIntoImage(benchmark::State& state) {
    test::TTestPlatform platform;
    TQtTextMeasure measure;
    TContext context(platform.Messages, platform.Status, measure);
    TCase owningCase(context);
    TPerception& view = bench::BuildSamplePerception(owningCase);
    QImage image(1, 1, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        DrawPerception(view, canvas, TDrawMode::dmNormal);
    }
    image = QImage(view.Extent.Right, view.Extent.Bottom, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        DrawPerception(view, canvas, TDrawMode::dmNormal);
    }
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
}
BENCHMARK(BM_DrawPerceptionIntoImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavo

int main(int argc, char** argv) {
    // Images need fonts but no screen; the plot window's benchmark needs widgets.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
