#pragma once

#include <cstdint>

namespace kavo {

// How a cell value x is compared with a format's values (u the upper, l the lower value).
enum class TFormatRelation : std::uint8_t {
    frEqual = 0,           // |x - u| < 0.005
    frApproxEqual = 1,     // within 10 % of u, or within 0.1 of a u near 0
    frNotEqual = 2,        // |x - u| >= 0.005
    frLess = 3,            // x < u
    frLessOrEqual = 4,     // x <= u
    frGreater = 5,         // x > u
    frGreaterOrEqual = 6,  // x >= u
    frBetween = 7,         // l <= x <= u
    frNotBetween = 8,      // x < l or x > u
    frUnset = 9,           // a new format without a relation: matches nothing
};

// One conditional format of an analysis field: the colour and text style of the cells whose value
// stands in the relation to the format's values.
class TFieldFormat {
  public:
    bool Matches(double x) const;

    TFormatRelation Relation = TFormatRelation::frUnset;
    double UpperValue = 0;
    // Used by frBetween and frNotBetween only.
    double LowerValue = 0;
    // Background of a matching cell: red in the low byte, then green and blue.
    std::uint32_t Color = 0xFFFFFF;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

}  // namespace kavo
