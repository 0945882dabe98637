#include "diagram/TagIcon.h"

#include <algorithm>
#include <array>

#include "diagram/TCanvas.h"
#include "model/TConcept.h"
#include "model/TTag.h"

namespace kavo {

namespace {

// The template: a luggage tag pointing left, with a hole. L light, M mid, D dark; it covers
// columns 0 to 14 of rows 3 to 11.
constexpr int kTemplateTop = 3;
constexpr std::array<const char*, 9> kTemplate{{
    "....DDDDDDDDDDD",
    "...DLLLLLLLLLMD",
    "..DLLLLLLLLLLMD",
    ".DLLDDLLLLLLLMD",
    "DLLLDDLLLLLLLMD",
    ".DLLLLLLLLLLLMD",
    "..DLLLLLLLLLLMD",
    "...DMMMMMMMMMMD",
    "....DDDDDDDDDDD",
}};

struct TTagColors {
    TColor Light;
    TColor Mid;
    TColor Dark;
};

TTagColors ColorsOf(const TTag& tag) {
    return {TColor::FromStored(tag.LightColor), TColor::FromStored(tag.MidColor),
            TColor::FromStored(tag.DarkColor)};
}

// Paints the template on the ground colour, the colours of each column given by colorsOf(column).
template <typename TColorsOf>
void DrawTemplate(TCanvas& canvas, TColor ground, TColorsOf colorsOf) {
    canvas.FillRect({0, 0, kTagIconSize, kTagIconSize}, ground);
    for (int row = 0; row < static_cast<int>(kTemplate.size()); ++row) {
        const char* line = kTemplate[static_cast<std::size_t>(row)];
        for (int column = 0; line[column] != '\0'; ++column) {
            const char key = line[column];
            if (key == '.') {
                continue;
            }
            const TTagColors colors = colorsOf(column);
            const TColor color = key == 'L' ? colors.Light : key == 'M' ? colors.Mid : colors.Dark;
            const int y = kTemplateTop + row;
            canvas.FillRect({column, y, column + 1, y + 1}, color);
        }
    }
}

}  // namespace

void DrawTagIcon(TCanvas& canvas, const TTag& tag, TColor ground) {
    const TTagColors colors = ColorsOf(tag);
    DrawTemplate(canvas, ground, [&](int) { return colors; });
}

void DrawTagIcon(TCanvas& canvas, TColor light, TColor mid, TColor dark) {
    DrawTemplate(canvas, kWhite, [&](int) { return TTagColors{light, mid, dark}; });
}

void DrawConceptTagIcon(TCanvas& canvas, const TConcept& item) {
    DrawConceptTagIcon(canvas, item.Tags);
}

void DrawConceptTagIcon(TCanvas& canvas, const std::vector<TTag*>& tags) {
    if (tags.empty()) {
        return;
    }
    const std::vector<int> ends = TagStripeEnds(tags.size());
    DrawTemplate(canvas, kWhite, [&](int column) {
        const auto stripe = std::lower_bound(ends.begin(), ends.end(), column) - ends.begin();
        return ColorsOf(*tags[static_cast<std::size_t>(stripe)]);
    });
}

std::vector<int> TagStripeEnds(std::size_t n) {
    static const std::array<std::vector<int>, 7> kEnds{{{14},
                                                        {6, 14},
                                                        {4, 9, 14},
                                                        {3, 6, 9, 14},
                                                        {2, 5, 8, 11, 14},
                                                        {2, 4, 6, 8, 10, 14},
                                                        {1, 3, 5, 7, 9, 11, 14}}};
    if (n >= 1 && n <= kEnds.size()) {
        return kEnds[n - 1];
    }
    const int stripes = static_cast<int>(std::clamp<std::size_t>(n, 1, kTagIconSize - 1));
    std::vector<int> ends;
    for (int i = 1; i <= stripes; ++i) {
        ends.push_back(i * (kTagIconSize - 1) / stripes - 1);
    }
    return ends;
}

}  // namespace kavo
