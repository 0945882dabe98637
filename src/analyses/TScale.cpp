#include "analyses/TScale.h"

#include <array>
#include <cmath>
#include <optional>

#include "casefile/CaseFileText.h"

namespace kavo {

namespace {

constexpr std::array<TColor, TScale::kMaxIndicators> kPresetColors{{
    {255, 0, 0},
    {0, 0, 255},
    {0, 128, 0},
    {128, 128, 128},
    {255, 255, 0},
    {255, 0, 255},
    {0, 128, 128},
    {128, 128, 0},
    {128, 0, 0},
    {0, 0, 128},
    {0, 255, 0},
    {128, 0, 128},
    {0, 255, 255},
    {192, 192, 192},
    {0, 0, 0},
}};

}  // namespace

TScale::TScale(int position)
    : PlotColor(PresetColor(position)), NegativeColor(HalfIntensity(PlotColor)) {}

TColor TScale::PresetColor(int position) {
    return position >= 0 && position < kMaxIndicators
               ? kPresetColors[static_cast<std::size_t>(position)]
               : kBlack;
}

TColor TScale::HalfIntensity(TColor color) {
    return {static_cast<std::uint8_t>(color.R / 2), static_cast<std::uint8_t>(color.G / 2),
            static_cast<std::uint8_t>(color.B / 2)};
}

double TScale::ValueOf(const std::string& text) {
    return ReadDecimal(text).value_or(0);
}

void TScale::Include(const std::string& text) {
    const double v = ValueOf(text);
    if (v > HighEnd) {
        HighEnd = v;
    }
    if (v < LowEnd) {
        LowEnd = v;
    }
}

int TScale::LevelOf(const std::string& text, int levels) const {
    if (!(HighEnd > LowEnd)) {
        return 1;
    }
    double a = (ValueOf(text) - LowEnd) / (HighEnd - LowEnd);
    if (!Symmetric) {
        if (a < 0) {
            return 0;
        }
        return a < 1 ? static_cast<int>(std::floor(a * levels)) + 1 : levels;
    }
    a = 2 * a - 1;
    if (std::abs(a) < 0.0005) {
        return 0;
    }
    // A level never exceeds the number of levels, however close to an end the value lies.
    return a >= -1 && a < 1
               ? std::min(levels, static_cast<int>(std::floor(std::abs(a) * levels)) + 1)
               : levels;
}

bool TScale::IsNegative(const std::string& text) const {
    return Symmetric && !text.empty() && text.front() == '-';
}

}  // namespace kavo
