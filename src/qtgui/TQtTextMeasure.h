#pragma once

#include <QFontMetrics>
#include <optional>

#include "model/TTextMeasure.h"

namespace kavo {

// Measures text with Qt's font metrics of the screen, so that a measured box fits the text drawn
// in a window.
class TQtTextMeasure : public TTextMeasure {
  public:
    int TextWidth(const TFont& font, std::string_view text) const override;
    int TextHeight(const TFont& font, std::string_view text) const override;

  private:
    const QFontMetrics& Metrics(const TFont& font) const;

    // Label layout measures word after word in one font; keeping its metrics saves the font
    // matching on every call.
    mutable std::optional<TFont> CachedFont;
    mutable std::optional<QFontMetrics> CachedMetrics;
};

}  // namespace kavo
