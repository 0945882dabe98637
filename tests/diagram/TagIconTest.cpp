#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "diagram/TagIcon.h"
#include "model/TTag.h"
#include "support/TRecordingCanvas.h"

namespace kavo {
namespace {

TEST(TagIconTest, PaintsTheTemplateInTheTagColoursWithinItsArea) {
    TTag tag(nullptr, "Red");
    tag.LightColor = 0x0000FF;  // red, stored with red in the low byte
    tag.MidColor = 0x008000;
    tag.DarkColor = 0x800000;
    test::TRecordingCanvas canvas;
    DrawTagIcon(canvas, tag);
    ASSERT_FALSE(canvas.Log.empty());
    EXPECT_EQ(canvas.Log.front(), "fill (0,0)-(16,16) 255,255,255");
    std::set<std::string> colours;
    for (std::size_t i = 1; i < canvas.Log.size(); ++i) {
        int left = 0, top = 0, right = 0, bottom = 0, r = 0, g = 0, b = 0;
        ASSERT_EQ(std::sscanf(canvas.Log[i].c_str(), "fill (%d,%d)-(%d,%d) %d,%d,%d", &left, &top,
                              &right, &bottom, &r, &g, &b),
                  7)
            << canvas.Log[i];
        EXPECT_GE(left, 0);
        EXPECT_LE(right, 15);
        EXPECT_GE(top, 3);
        EXPECT_LE(bottom, 12);
        colours.insert(std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b));
    }
    EXPECT_EQ(colours, (std::set<std::string>{"255,0,0", "0,128,0", "0,0,128"}));
}

TEST(TagIconTest, DefaultColoursAreSilverGreyAndBlack) {
    const TTag tag(nullptr, "Plain");
    EXPECT_EQ(TColor::FromStored(tag.LightColor), kSilver);
    EXPECT_EQ(TColor::FromStored(tag.MidColor), kGray);
    EXPECT_EQ(TColor::FromStored(tag.DarkColor), kBlack);
}

TEST(TagIconTest, StripeEnds) {
    const std::vector<std::vector<int>> expected{{14},
                                                 {6, 14},
                                                 {4, 9, 14},
                                                 {3, 6, 9, 14},
                                                 {2, 5, 8, 11, 14},
                                                 {2, 4, 6, 8, 10, 14},
                                                 {1, 3, 5, 7, 9, 11, 14}};
    for (std::size_t n = 1; n <= expected.size(); ++n) {
        EXPECT_EQ(TagStripeEnds(n), expected[n - 1]) << n;
    }
    // Beyond seven tags the stripes stay at least a column wide and end at the last column.
    for (const std::size_t n : {8u, 15u, 20u}) {
        const std::vector<int> ends = TagStripeEnds(n);
        EXPECT_EQ(ends.size(), std::min<std::size_t>(n, 15)) << n;
        EXPECT_EQ(ends.back(), 14) << n;
        EXPECT_TRUE(std::adjacent_find(ends.begin(), ends.end(), std::greater_equal<int>()) ==
                    ends.end())
            << n;
    }
}

// The colour of each template column in the log of a tag icon, "" where a column has none.
std::vector<std::string> ColumnColours(const std::vector<std::string>& log) {
    std::vector<std::string> colours(15);
    for (const std::string& line : log) {
        int left = 0, top = 0, right = 0, bottom = 0, r = 0, g = 0, b = 0;
        if (std::sscanf(line.c_str(), "fill (%d,%d)-(%d,%d) %d,%d,%d", &left, &top, &right, &bottom,
                        &r, &g, &b) == 7 &&
            right - left == 1 && top == 7) {
            colours[static_cast<std::size_t>(left)] =
                std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
        }
    }
    return colours;
}

TEST(TagIconTest, ConceptWithThreeTagsHasThreeStripes) {
    TTag red(nullptr, "Red"), green(nullptr, "Green"), blue(nullptr, "Blue");
    red.LightColor = 0x0000FF;
    green.LightColor = 0x00FF00;
    blue.LightColor = 0xFF0000;
    TTag plain(nullptr, "Plain");
    plain.Tags = {&red, &green, &blue};
    test::TRecordingCanvas canvas;
    DrawConceptTagIcon(canvas, plain);
    // Row 7 of the template: dark at column 0, light at 1 to 3 and 6 to 12 around the hole, mid at
    // 13 and dark at 14. Stripes end at columns 4, 9 and 14.
    const std::vector<std::string> row = ColumnColours(canvas.Log);
    EXPECT_EQ(row[2], "255,0,0");
    EXPECT_EQ(row[3], "255,0,0");
    EXPECT_EQ(row[6], "0,255,0");
    EXPECT_EQ(row[9], "0,255,0");
    EXPECT_EQ(row[10], "0,0,255");
    EXPECT_EQ(row[12], "0,0,255");
    EXPECT_EQ(row[13], "128,128,128");

    test::TRecordingCanvas untagged;
    DrawConceptTagIcon(untagged, TTag(nullptr, "Untagged"));
    EXPECT_TRUE(untagged.Log.empty());
}

}  // namespace
}  // namespace kavo
