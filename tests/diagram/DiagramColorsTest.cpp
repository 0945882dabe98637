#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "diagram/DiagramColors.h"

namespace kavo {
namespace {

TEST(DiagramColorsTest, GoalColorByLevelSignAndPriority) {
    struct TCase {
        int Level;
        int Priority;
        TColor Expected;
    };
    const std::vector<TCase> cases{
        {-2, 1, {0xA0, 0xFF, 0xFF}},
        {-1, 2, {0x70, 0xD0, 0xFF}},
        {-3, 3, {0x60, 0x90, 0xFF}},
        {0, 1, {0xA0, 0xA0, 0xA0}},
        {0, 2, {0x94, 0x94, 0x94}},
        {0, 3, {0x80, 0x80, 0x80}},
        {1, 1, {0xFF, 0xD0, 0x70}},
        {3, 2, {0xFF, 0x80, 0x40}},
        {2, 3, {0xF0, 0x40, 0x00}},
        {2, 0, kWhite},
        {-3, 0, kWhite},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(GoalColor(c.Level, c.Priority), c.Expected)
            << "level " << c.Level << " priority " << c.Priority;
    }
}

TEST(DiagramColorsTest, LightenAddsSixtyFourCappedAtWhite) {
    EXPECT_EQ(Lighten({0xF0, 0x40, 0x00}), (TColor{0xFF, 0x80, 0x40}));
    EXPECT_EQ(Lighten({0xA0, 0xA0, 0xA0}), (TColor{0xE0, 0xE0, 0xE0}));
    EXPECT_EQ(Lighten(kWhite), kWhite);
}

TEST(DiagramColorsTest, UncertaintyColors) {
    EXPECT_EQ(UncertaintyColor(0), kBlack);
    EXPECT_EQ(UncertaintyColor(1), (TColor{0x50, 0x50, 0x50}));
    EXPECT_EQ(UncertaintyColor(2), (TColor{0x70, 0x70, 0x70}));
    EXPECT_EQ(UncertaintyColor(3), (TColor{0xA0, 0xA0, 0xA0}));
}

TEST(DiagramColorsTest, ColorCodesInComments) {
    struct TCase {
        std::vector<std::string> Comment;
        std::optional<TColorCode> Expected;
    };
    const std::vector<TCase> cases{
        {{"border {r2} here"}, TColorCode{{255, 0, 0}, 2}},
        {{"{x}"}, TColorCode{kSilver, 1}},
        {{"{G9}"}, TColorCode{{0, 128, 0}, 1}},
        {{"{b0}"}, TColorCode{{0, 0, 255}, 0}},
        {{"{y5 and more}"}, TColorCode{{255, 255, 0}, 5}},
        {{"first line", "second {n1} line"}, TColorCode{{0, 0, 128}, 1}},
        {{"{a} then {r3}"}, TColorCode{{0, 255, 255}, 1}},
        {{"}{R"}, std::nullopt},
        {{"{}"}, std::nullopt},
        {{"no braces"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ParseColorCode(c.Comment), c.Expected) << c.Comment.front();
    }
}

}  // namespace
}  // namespace kavo
