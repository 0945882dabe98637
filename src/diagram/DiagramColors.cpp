#include "diagram/DiagramColors.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kavo {

namespace {

// Rows by sign of the level (negative, zero, positive), columns by priority 1..3.
constexpr std::array<std::array<TColor, 3>, 3> kGoalColors{{
    {{{160, 255, 255}, {112, 208, 255}, {96, 144, 255}}},
    {{{160, 160, 160}, {148, 148, 148}, {128, 128, 128}}},
    {{{255, 208, 112}, {255, 128, 64}, {240, 64, 0}}},
}};

struct TCodeLetter {
    char Letter;
    TColor Color;
};

constexpr std::array<TCodeLetter, 11> kCodeLetters{{
    {'A', {0, 255, 255}},
    {'B', {0, 0, 255}},
    {'F', {255, 0, 255}},
    {'G', {0, 128, 0}},
    {'L', {0, 255, 0}},
    {'M', {128, 0, 0}},
    {'N', {0, 0, 128}},
    {'O', {128, 128, 0}},
    {'P', {128, 0, 128}},
    {'R', {255, 0, 0}},
    {'Y', {255, 255, 0}},
}};

std::uint8_t Brighter(std::uint8_t channel) {
    return static_cast<std::uint8_t>(std::min(channel + 64, 255));
}

}  // namespace

TColor GoalColor(int level, int priority) {
    if (priority <= 0) {
        return kWhite;
    }
    const int row = level < 0 ? 0 : level == 0 ? 1 : 2;
    const int column = std::min(priority, 3) - 1;
    return kGoalColors[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

TColor Lighten(TColor color) {
    return {Brighter(color.R), Brighter(color.G), Brighter(color.B)};
}

TColor UncertaintyColor(int uncertainty) {
    switch (uncertainty) {
        case 1:
            return {80, 80, 80};
        case 2:
            return {112, 112, 112};
        case 3:
            return {160, 160, 160};
        default:
            return kBlack;
    }
}

std::optional<TColorCode> ParseColorCode(const std::vector<std::string>& comment) {
    std::string text;
    for (std::size_t i = 0; i < comment.size(); ++i) {
        text += (i == 0 ? "" : "\n") + comment[i];
    }
    const std::size_t open = text.find('{');
    if (open == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t close = text.find('}', open + 1);
    if (close == std::string::npos || close == open + 1) {
        return std::nullopt;
    }
    const auto upper = [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    TColorCode code{kSilver, 1};
    const char letter = upper(text[open + 1]);
    for (const TCodeLetter& entry : kCodeLetters) {
        if (entry.Letter == letter) {
            code.Color = entry.Color;
        }
    }
    if (close > open + 2) {
        const char width = text[open + 2];
        if (width >= '0' && width <= '5') {
            code.Width = width - '0';
        }
    }
    return code;
}

}  // namespace kavo
