#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "SamplePerception.h"
#include "diagram/PerceptionDrawing.h"
#include "diagram/TCanvas.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// A canvas that only measures, so that the benchmark times the drawing logic alone.
class TNullCanvas : public TCanvas {
  public:
    void SetPen(TColor, int, TPenStyle) override {}
    void SetBrush(TColor, TBrushStyle) override {}
    void SetFont(const TFont&, TColor) override {}
    void Line(TPoint, TPoint) override {}
    void Polyline(const std::vector<TPoint>&) override {}
    void Polygon(const std::vector<TPoint>&) override {}
    void Rectangle(const TRect&) override {}
    void Ellipse(const TRect&) override {}
    void RoundRect(const TRect&, int, int) override {}
    void FillRect(const TRect&, TColor) override {}
    void TextOut(TPoint, const std::string&) override {}
    int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * 6; }
    int TextHeight(const std::string&) override { return 13; }
};

// The drawing logic of a perception of 200 boxes and 400 links, without the cost of painting.
void BM_DrawPerceptionLogic(benchmark::State& state) {
    test::TCaseFixture fixture;
    TPerception& view = bench::BuildSamplePerception(fixture.Case);
    TNullCanvas canvas;
    DrawPerception(view, canvas, TDrawMode::dmNormal);
    const std::uint64_t allocationsBefore = bench::AllocationCount();
    for (auto _ : state) {
        DrawPerception(view, canvas, TDrawMode::dmNormal);
    }
    state.counters["allocations per call"] = benchmark::Counter(
        static_cast<double>(bench::AllocationCount() - allocationsBefore) / state.iterations());
}
BENCHMARK(BM_DrawPerceptionLogic)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kavo
