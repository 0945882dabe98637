#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/TFont.h"
#include "model/TTextMeasure.h"

namespace kavo {

// A factor name wrapped for its box: the lines drawn and the size of the box, pixels.
struct TLabelLayout {
    std::vector<std::string> Lines;
    int Width = 0;
    int Height = 0;
};

// Wraps a name into a box about twice as wide as high, measured in the font made bold. The actor
// part of an action or attribute name (from "[") sets the least width but is not among the lines.
// The box is at least 25 by 20 pixels.
TLabelLayout LayoutLabel(const TTextMeasure& measure, const TFont& font, std::string_view name);

}  // namespace kavo
