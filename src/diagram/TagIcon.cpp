#include "diagram/TagIcon.h"

#include <array>

#include "diagram/TCanvas.h"
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

}  // namespace

void DrawTagIcon(TCanvas& canvas, const TTag& tag) {
    DrawTagIcon(canvas, TColor::FromStored(tag.LightColor), TColor::FromStored(tag.MidColor),
                TColor::FromStored(tag.DarkColor));
}

void DrawTagIcon(TCanvas& canvas, TColor light, TColor mid, TColor dark) {
    canvas.FillRect({0, 0, kTagIconSize, kTagIconSize}, kWhite);
    for (int row = 0; row < static_cast<int>(kTemplate.size()); ++row) {
        const char* line = kTemplate[static_cast<std::size_t>(row)];
        for (int column = 0; line[column] != '\0'; ++column) {
            const char key = line[column];
            if (key == '.') {
                continue;
            }
            const TColor color = key == 'L' ? light : key == 'M' ? mid : dark;
            const int y = kTemplateTop + row;
            canvas.FillRect({column, y, column + 1, y + 1}, color);
        }
    }
}

}  // namespace kavo
