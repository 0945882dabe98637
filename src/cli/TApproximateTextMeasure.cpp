#include "cli/TApproximateTextMeasure.h"

namespace kavo {

namespace {

// Characters, not bytes: UTF-8 continuation bytes take no width.
int Characters(std::string_view text) {
    int count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

}  // namespace

int TApproximateTextMeasure::TextWidth(const TFont& font, std::string_view text) const {
    // A sans-serif character is about 0.6 em wide; points are 4/3 pixels at 96 dots per inch.
    const double perCharacter = font.Size * 4.0 / 3.0 * (font.Bold ? 0.65 : 0.6);
    return static_cast<int>(Characters(text) * perCharacter + 0.5);
}

int TApproximateTextMeasure::TextHeight(const TFont& font, std::string_view) const {
    return static_cast<int>(font.Size * 4.0 / 3.0 * 1.2 + 0.5);
}

}  // namespace kavo
