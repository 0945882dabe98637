#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/LabelLayout.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// Bold characters are 7 pixels wide and lines 13 high under the fixed test metrics.
class LabelLayoutTest : public ::testing::Test {
  protected:
    TLabelLayout Layout(const std::string& name) { return LayoutLabel(Measure, Font, name); }

    test::TFixedTextMeasure Measure;
    TFont Font;
};

TEST_F(LabelLayoutTest, ShortNameGetsTheLeastBox) {
    const TLabelLayout label = Layout("Tax");
    EXPECT_EQ(label.Lines, std::vector<std::string>{"Tax"});
    EXPECT_GE(label.Width, 25);
    EXPECT_GE(label.Height, 20);
    // One line of head and the empty actor line: 26 pixels, so the box widens to 52.
    EXPECT_EQ(label.Width, 52);
    EXPECT_EQ(label.Height, 30);
}

TEST_F(LabelLayoutTest, ActorPartSetsTheWidthButIsNotALine) {
    const TLabelLayout label = Layout("Tax [Ministry of Finance]");
    EXPECT_EQ(label.Lines, std::vector<std::string>{"Tax"});
    // The actor part alone is 21 characters: 147 pixels plus the margin.
    EXPECT_EQ(label.Width, 151);
}

TEST_F(LabelLayoutTest, LongNameWrapsIntoABoxTwiceAsWideAsHigh) {
    const TLabelLayout label = Layout("Number of households connected to the water supply network");
    ASSERT_GT(label.Lines.size(), 1u);
    std::string joined;
    for (const std::string& line : label.Lines) {
        EXPECT_LE(Measure.TextWidth({Font.Name, Font.Size, true}, line), label.Width - 4) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, "Number of households connected to the water supply network");
    const int textHeight = static_cast<int>(label.Lines.size() + 1) * 13;
    EXPECT_EQ(label.Height, textHeight + 4);
    EXPECT_GE(label.Width / 2, textHeight);
}

TEST_F(LabelLayoutTest, WordWiderThanTheBoxStaysWhole) {
    const TLabelLayout label = Layout("Internationalisation of markets");
    for (const std::string& line : label.Lines) {
        EXPECT_FALSE(line.empty());
    }
    EXPECT_GE(label.Width, 7 * static_cast<int>(std::string("Internationalisation ").size()));
}

}  // namespace
}  // namespace kavo
