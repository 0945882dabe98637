#include "qtgui/TQtTextMeasure.h"

#include "qtgui/QtConversions.h"

namespace kavo {

int TQtTextMeasure::TextWidth(const TFont& font, std::string_view text) const {
    return Metrics(font).horizontalAdvance(ToQString(text));
}

int TQtTextMeasure::TextHeight(const TFont& font, std::string_view /*text*/) const {
    return Metrics(font).height();
}

const QFontMetrics& TQtTextMeasure::Metrics(const TFont& font) const {
    if (!CachedFont || *CachedFont != font) {
        CachedMetrics.emplace(ToQFont(font));
        CachedFont = font;
    }
    return *CachedMetrics;
}

}  // namespace kavo
