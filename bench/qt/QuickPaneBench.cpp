#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "SamplePerception.h"
#include "analyses/TQuickAnalysis.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "qtgui/TQtCanvas.h"
#include "qtgui/TQtTextMeasure.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// The quick-analysis pane's whole update on a pointer move over the sample perception of 200
// boxes and 400 links, every switch on and five factors selected: explain the item under the
// pointer from the results computed before, and paint the explanation into the pane's picture of
// 1200 x 600 pixels, text measured and drawn with Qt.
void BM_QuickPaneUpdate(benchmark::State& state) {
    test::TTestPlatform platform;
    TQtTextMeasure measure;
    TContext context(platform.Messages, platform.Status, measure);
    TCase owningCase(context);
    TPerception& view = bench::BuildSamplePerception(owningCase);
    for (int i = 3; i < 200; i += 40) {
        view.Selection.push_back(view.FiPs[static_cast<std::size_t>(i)].get());
    }
    TQuickAnalysis quick(measure, TFont{});
    quick.Influence = quick.USF = quick.Noise = quick.Strategies = true;
    quick.Explain(view, view.FiPs[20].get(), 2, view.Links[50].get());
    QImage picture(1200, 600, QImage::Format_RGB32);
    int hovered = 0;
    for (auto _ : state) {
        const TFiP* fip = view.FiPs[static_cast<std::size_t>(hovered)].get();
        hovered = (hovered + 3) % 200;
        quick.Explain(view, fip, fip->Factor->IsAction ? 2 : kNoLevel, view.Links[50].get());
        picture.fill(QColor(240, 240, 240));
        QPainter painter(&picture);
        TQtCanvas canvas(painter);
        quick.Draw(canvas);
    }
}
BENCHMARK(BM_QuickPaneUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kavo
