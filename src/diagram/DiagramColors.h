#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagram/TColor.h"

namespace kavo {

inline constexpr TColor kLightGray{224, 224, 224};
inline constexpr TColor kDarkGray{64, 64, 64};
inline constexpr TColor kPurple{128, 0, 128};
inline constexpr TColor kMagenta{255, 0, 255};
inline constexpr TColor kBlue{0, 0, 255};
inline constexpr TColor kRed{255, 0, 0};

// The fill of a goal's box and mark: white for priority 0, otherwise blue below, grey at and
// orange above change 0, deeper for a higher priority (1..3; higher counts as 3).
TColor GoalColor(int level, int priority);
// Each channel 64 brighter, capped at 255.
TColor Lighten(TColor color);
// Black for a certain link or prospect, lighter greys for uncertainty degrees 1..3.
TColor UncertaintyColor(int uncertainty);

// An outline the user set in a comment, as "{r2}": red, two pixels wide.
struct TColorCode {
    TColor Color;
    int Width = 1;
    friend bool operator==(const TColorCode&, const TColorCode&) = default;
};

// The code between the first "{" and the first "}" after it, when it is not empty: its first
// letter picks the colour (silver for a letter without one), a digit 0..5 after it the width.
std::optional<TColorCode> ParseColorCode(const std::vector<std::string>& comment);

}  // namespace kavo
