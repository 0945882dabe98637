#include "diagram/CaseImageSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "diagram/DiagramFixture.h"
#include "diagram/PerceptionDrawing.h"
#include "model/TAiA.h"
#include "model/TTag.h"

namespace kavo::test {

namespace {

// The images by name; the map points into the set, which must stay alive while the map is used.
std::map<std::string, const TCaseImage*> ByName(const std::vector<TCaseImage>& images) {
    std::map<std::string, const TCaseImage*> names;
    for (const TCaseImage& image : images) {
        names[image.Name] = &image;
    }
    return names;
}
std::map<std::string, const TCaseImage*> ByName(std::vector<TCaseImage>&& images) = delete;

// The canvas's drawing with every point it touched, to check that a picture stays in its image.
class TBoundsCanvas : public TRecordingCanvas {
  public:
    void Line(TPoint from, TPoint to) override { Touch({from, to}); }
    void Polyline(const std::vector<TPoint>& points) override { Touch(points); }
    void Polygon(const std::vector<TPoint>& points) override { Touch(points); }
    void Rectangle(const TRect& box) override { Touch(box); }
    void Ellipse(const TRect& box) override { Touch(box); }
    void RoundRect(const TRect& box, int, int) override { Touch(box); }
    void FillRect(const TRect& box, TColor) override { Touch(box); }
    void TextOut(TPoint topLeft, const std::string&) override { Touch({topLeft}); }

    int Right = 0;
    int Bottom = 0;
    int Left = 0;
    int Top = 0;

  private:
    void Touch(const std::vector<TPoint>& points) {
        for (const TPoint& p : points) {
            Left = std::min(Left, p.X);
            Top = std::min(Top, p.Y);
            Right = std::max(Right, p.X);
            Bottom = std::max(Bottom, p.Y);
        }
    }
    void Touch(const TRect& box) { Touch({{box.Left, box.Top}, {box.Right, box.Bottom}}); }
};

class CaseImageSetTest : public TDiagramFixture, public ::testing::Test {};

}  // namespace

TEST_F(CaseImageSetTest, FixedImagesHaveTheirSizesAndTransparency) {
    struct TExpected {
        const char* Name;
        int Width;
        int Height;
        bool Transparent;
    };
    const TExpected table[] = {
        {"notag", 16, 16, false},   {"case", 16, 16, false},   {"stockattribute", 16, 16, false},
        {"plot", 16, 16, false},    {"gc-3p0", 24, 24, false}, {"gc3p3", 24, 24, false},
        {"gnc-3p1", 24, 24, false}, {"gnc0p3", 24, 24, false}, {"l3u0", 32, 16, false},
        {"l-3u3", 32, 16, false},   {"p0u2", 24, 24, false},   {"r-3-0", 11, 11, false},
        {"r3-2", 11, 11, false},    {"art0s5", 24, 16, false}, {"art0s-5", 24, 16, false},
        {"art3s1", 24, 16, false},  {"fipag0", 24, 16, true},  {"fipag3", 24, 16, true},
    };
    const auto images = CaseImageSet(Case);
    const auto names = ByName(images);
    for (const TExpected& expected : table) {
        SCOPED_TRACE(expected.Name);
        const auto found = names.find(expected.Name);
        ASSERT_NE(found, names.end());
        EXPECT_EQ(found->second->Width, expected.Width);
        EXPECT_EQ(found->second->Height, expected.Height);
        EXPECT_EQ(found->second->WhiteTransparent, expected.Transparent);
    }
    for (const char* absent : {"gnc0p0", "art0s0", "art1s2", "fipag4", "l4u0", "r0-3"}) {
        EXPECT_FALSE(names.contains(absent)) << absent;
    }
}

TEST_F(CaseImageSetTest, NamesAreUniqueAndNotagComesFirst) {
    const auto images = CaseImageSet(Case);
    ASSERT_FALSE(images.empty());
    EXPECT_EQ(images.front().Name, "notag");
    EXPECT_EQ(ByName(images).size(), images.size());
}

TEST_F(CaseImageSetTest, EveryFixedPictureStaysInsideItsImage) {
    for (const TCaseImage& image : CaseImageSet(Case)) {
        SCOPED_TRACE(image.Name);
        TBoundsCanvas canvas;
        image.Draw(canvas);
        EXPECT_GE(canvas.Left, 0);
        EXPECT_GE(canvas.Top, 0);
        // Boxes exclude their right column and bottom row, so their corner may lie on the edge.
        EXPECT_LE(canvas.Right, image.Width);
        EXPECT_LE(canvas.Bottom, image.Height);
    }
}

TEST_F(CaseImageSetTest, TagIconsFollowTheTagListAndAreOpaque) {
    const auto untaggedImages = CaseImageSet(Case);
    const auto untagged = ByName(untaggedImages);
    EXPECT_FALSE(untagged.contains("tag0"));
    Case.FindOrCreateTag("Red");
    Case.FindOrCreateTag("Blue");
    const auto taggedImages = CaseImageSet(Case);
    const auto tagged = ByName(taggedImages);
    for (const char* name : {"tag0", "tag1"}) {
        ASSERT_TRUE(tagged.contains(name)) << name;
        EXPECT_FALSE(tagged.at(name)->WhiteTransparent);
        EXPECT_EQ(tagged.at(name)->Width, 16);
    }
    EXPECT_FALSE(tagged.contains("tag2"));
}

TEST_F(CaseImageSetTest, TagIconGroundIsTheTagsLightColour) {
    TTag* tag = Case.FindOrCreateTag("Green");
    tag->LightColor = 0x00FF00;
    TRecordingCanvas canvas;
    const auto images = CaseImageSet(Case);
    ByName(images).at("tag0")->Draw(canvas);
    ASSERT_FALSE(canvas.Log.empty());
    EXPECT_EQ(canvas.Log.front(), "fill (0,0)-(16,16) 0,255,0");
}

TEST_F(CaseImageSetTest, EmptyAnalystViewIsOnePixel) {
    const auto images = CaseImageSet(Case);
    const auto names = ByName(images);
    ASSERT_TRUE(names.contains("aview0"));
    EXPECT_EQ(names.at("aview0")->Width, 1);
    EXPECT_EQ(names.at("aview0")->Height, 1);
}

TEST_F(CaseImageSetTest, PerceptionPictureIsAsLargeAsTheDrawing) {
    Show(Factor("Rain", 40, 20), 100, 60);
    PlacePerception(*View);
    const auto images = CaseImageSet(Case);
    const auto names = ByName(images);
    EXPECT_EQ(names.at("aview0")->Width, View->Extent.Right);
    EXPECT_EQ(names.at("aview0")->Height, View->Extent.Bottom);
    EXPECT_GT(View->Extent.Right, 1);
}

// Every image the document refers to is in the set or is asked of the writer while writing.
TEST(CaseImageSetExample, CoversEveryImageOfTheExampleDocument) {
    class TNamesWriter : public TImageWriter {
      public:
        std::optional<std::string> WriteCombinedTagIcon(const std::vector<TTag*>&,
                                                        const std::string& path) override {
            Names.insert(path.substr(path.rfind('/') + 1));
            return std::nullopt;
        }
        std::optional<std::string> WriteCustomGoalIcon(const TGoal&,
                                                       const std::string& path) override {
            Names.insert(path.substr(path.rfind('/') + 1));
            return std::nullopt;
        }
        std::set<std::string> Names;
    };
    TTestPlatform platform;
    TCase water(platform.Context);
    ASSERT_EQ(ReadCase(water, std::string(KAVO_EXAMPLES) + "/Water/"), TReadOutcome::roRead);
    TNamesWriter writer;
    std::string document;
    for (const std::string& line : TCaseWriter(water, writer).Document("/tmp/kavo-unused/")) {
        document += line + "\n";
    }
    std::set<std::string> available = writer.Names;
    for (const TCaseImage& image : CaseImageSet(water)) {
        available.insert(image.Name + ".gif");
    }
    const std::regex source("src=\"gif/([^\"]+)\"");
    int references = 0;
    for (auto match = std::sregex_iterator(document.begin(), document.end(), source);
         match != std::sregex_iterator(); ++match) {
        ++references;
        EXPECT_TRUE(available.contains((*match)[1].str())) << (*match)[1].str();
    }
    EXPECT_GT(references, 0);
}

}  // namespace kavo::test
