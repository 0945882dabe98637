#include "diagram/ReportIcons.h"

#include <array>
#include <cstdlib>

#include "diagram/TCanvas.h"
#include "model/Formats.h"
#include "model/TGoal.h"

namespace kavo {

namespace {

constexpr std::array<TColor, 7> kLevelColors{{
    {0, 0, 128},
    {0, 0, 255},
    {80, 176, 255},
    {192, 192, 192},
    {255, 176, 80},
    {255, 0, 0},
    {128, 0, 0},
}};

}  // namespace

void DrawIconFrame(TCanvas& canvas) {
    canvas.FillRect({0, 0, kHistogramIconWidth, kHistogramIconHeight}, kWhite);
    canvas.SetPen(kBlack);
    canvas.SetBrush(kWhite, TBrushStyle::bsClear);
    canvas.Line({0, 14}, {3, 14});
    canvas.Ellipse({9, 13, 12, 16});
    canvas.Line({18, 14}, {21, 14});
    canvas.Line({19, 13}, {19, 16});
    canvas.SetPen(kSilver);
    canvas.Line({0, 12}, {21, 12});
}

void DrawHistogramIcon(TCanvas& canvas, const TLevels<double>& vector) {
    DrawIconFrame(canvas);
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        const int left = 3 * level + 9;
        const int height = BarHeight(vector[level]);
        canvas.FillRect({left, 12 - height, left + 3, 12},
                        kLevelColors[static_cast<std::size_t>(level + 3)]);
    }
}

void DrawUtilityIcon(TCanvas& canvas, const TGoal& goal) {
    DrawIconFrame(canvas);
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        const int u = goal.Utilities[i];
        if (u == 0) {
            continue;
        }
        const int left = 3 * i + 9;
        canvas.FillRect({left, 12 - 4 * std::abs(u), left + 3, 12},
                        u < 0 ? TColor{255, 0, 0} : TColor{0, 224, 0});
    }
}

}  // namespace kavo
