#pragma once

#include <string>

#include "diagram/TColor.h"

namespace kavo {

// The scale of one indicator of a dependency graph: the range of the values seen and how they map
// onto line thicknesses.
class TScale {
  public:
    // The scale of the indicator at position 0..14 in its graph, with that position's preset
    // colour and the negative colour at half its intensity.
    explicit TScale(int position = 0);

    double LowEnd = 1e100;
    double HighEnd = -1e100;
    // Symmetric around the middle; negative values are drawn in NegativeColor.
    bool Symmetric = false;
    // Number of line thicknesses, 2..99.
    int LevelCount = 5;
    TColor PlotColor;
    TColor NegativeColor;

    // Widens the range to hold the value of the text (0 when it is no number).
    void Include(const std::string& text);
    // The level of the value of the text, 0..levels: 0 draws nothing, 1 a dotted line and each
    // level above a line one pixel wider. A range that is empty gives 1.
    int LevelOf(const std::string& text, int levels) const;
    int LevelOf(const std::string& text) const { return LevelOf(text, LevelCount); }
    // Whether a value is drawn in the negative colour: on a symmetric scale, a text beginning
    // with "-".
    bool IsNegative(const std::string& text) const;

    // The most indicators one graph holds: one preset colour each.
    static constexpr int kMaxIndicators = 15;
    static TColor PresetColor(int position);
    static TColor HalfIntensity(TColor color);
    // The value of a cell text: a decimal with "." or "," as separator, 0 when it is none.
    static double ValueOf(const std::string& text);
};

}  // namespace kavo
