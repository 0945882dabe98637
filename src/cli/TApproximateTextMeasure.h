#pragma once

#include <string_view>

#include "model/TTextMeasure.h"

namespace kavo {

// Text metrics without a font engine: an average character width and a line height in proportion
// to the font size. Good enough for the box sizes of diagrams, which the case document does not
// store.
class TApproximateTextMeasure : public TTextMeasure {
  public:
    int TextWidth(const TFont& font, std::string_view text) const override;
    int TextHeight(const TFont& font, std::string_view text) const override;
};

}  // namespace kavo
