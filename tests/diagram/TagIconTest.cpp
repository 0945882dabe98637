#include <gtest/gtest.h>

#include <set>
#include <string>

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

}  // namespace
}  // namespace kavo
