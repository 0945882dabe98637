#pragma once

#include <string_view>

#include "model/TFont.h"

namespace kavo {

// Measures text in pixels as it will be drawn on screen.
class TTextMeasure {
  public:
    virtual ~TTextMeasure() = default;
    virtual int TextWidth(const TFont& font, std::string_view text) const = 0;
    // Height of one line of text in the font.
    virtual int TextHeight(const TFont& font, std::string_view text) const = 0;
};

}  // namespace kavo
