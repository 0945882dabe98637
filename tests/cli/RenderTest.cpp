#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"

namespace kavo {
namespace {

using test::ReadFile;

// A saved case with an arena "Market" whose analyst view is empty and in which the actor
// "Government" (short name "Gov") sees rain raise the water level.
class RenderTest : public test::CaseFileTest {
  protected:
    RenderTest() {
        TArena* market = Case.FindOrCreateArena("Market");
        TAiA* record = Case.AddActorToArena(*market, "Government", "Gov");
        TPerception& perception = *record->Perception;
        const auto show = [&perception](TFactor* factor, int x) {
            perception.Add(std::make_unique<TFiP>(factor));
            perception.FiPs.back()->X = x;
            perception.FiPs.back()->Y = 80;
            return perception.FiPs.back().get();
        };
        TFiP* rain = show(Case.FindOrCreateFactor("Rain"), 100);
        TFiP* level = show(Case.FindOrCreateFactor("Water level"), 300);
        perception.Add(std::make_unique<TLink>(Case, rain, level));
        Folder = Scratch / "case";
        EXPECT_TRUE(Save(Case, Folder));
    }

    // The exit status of kavo-cli with the arguments; its error output goes to Errors.
    int Run(const std::string& arguments) {
        const std::filesystem::path errors = Scratch / "errors.txt";
        const std::string command = std::string("\"") + KAVO_CLI_PATH + "\" " + arguments +
                                    " 2>\"" + errors.string() + "\"";
        const int status = std::system(command.c_str());
        Errors = ReadFile(errors);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Render(const std::string& options) {
        return "render \"" + Folder.string() + "\" " + options;
    }

    std::filesystem::path Folder;
    std::string Errors;
};

TEST_F(RenderTest, BadArgumentsAreRefused) {
    const std::string out = " --out \"" + (Scratch / "p.png").string() + "\"";
    const std::vector<std::string> cases{
        "render --arena Market" + out,
        Render("--out \"" + (Scratch / "p.png").string() + "\""),
        Render("--arena Market"),
        Render("--arena Market --out \"" + (Scratch / "p.bmp").string() + "\""),
        Render("--arena Market --colour red" + out),
        Render("--arena"),
        Render("--arena Market --layout -1" + out),
        Render("--arena Market --layout many" + out),
        Render("--arena Market --actor Gov --system-diagram" + out),
        Render("--arena Market --arrows" + out),
    };
    for (const std::string& arguments : cases) {
        EXPECT_EQ(Run(arguments), 2) << arguments;
        EXPECT_NE(Errors.find("kavo-cli render: "), std::string::npos) << arguments;
    }
}

#ifdef KAVO_CLI_DRAWS

// Width and height of a picture file from its header; zeros when it is none of the three formats.
struct TPictureSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TPictureSize&, const TPictureSize&) = default;
};

TPictureSize SizeOf(const std::string& bytes) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    if (bytes.starts_with("\x89PNG\r\n\x1a\n") && bytes.size() >= 24) {
        const auto big = [&](std::size_t i) {
            return (byte(i) << 24) | (byte(i + 1) << 16) | (byte(i + 2) << 8) | byte(i + 3);
        };
        return {big(16), big(20)};
    }
    if (bytes.starts_with("GIF89a") && bytes.size() >= 10) {
        return {byte(6) | (byte(7) << 8), byte(8) | (byte(9) << 8)};
    }
    return {};
}

TEST_F(RenderTest, DrawsTheActorsPerceptionInEveryFormat) {
    const std::filesystem::path png = Scratch / "perception.png";
    const std::filesystem::path gif = Scratch / "perception.GIF";
    const std::filesystem::path svg = Scratch / "perception.svg";
    ASSERT_EQ(Run(Render("--arena Market --actor Government --out \"" + png.string() + "\"")), 0)
        << Errors;
    ASSERT_EQ(Run(Render("--arena market --actor gov --out \"" + gif.string() + "\"")), 0)
        << Errors;
    ASSERT_EQ(Run(Render("--arena Market --actor Gov --out \"" + svg.string() + "\"")), 0)
        << Errors;
    const TPictureSize size = SizeOf(ReadFile(png));
    // The drawing reaches past the right box's centre and the boxes' middle, with a margin.
    EXPECT_GT(size.Width, 315);
    EXPECT_GT(size.Height, 95);
    EXPECT_EQ(SizeOf(ReadFile(gif)), size);
    const std::string picture = ReadFile(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find("width=\"" + std::to_string(size.Width)), std::string::npos);
    EXPECT_NE(picture.find(">Rain<"), std::string::npos);
}

TEST_F(RenderTest, EmptyAnalystViewGivesTheSmallestPicture) {
    const std::filesystem::path png = Scratch / "view.png";
    ASSERT_EQ(Run(Render("--arena Market --out \"" + png.string() + "\"")), 0) << Errors;
    EXPECT_EQ(SizeOf(ReadFile(png)), (TPictureSize{1, 1}));
}

TEST_F(RenderTest, LayoutStepsRepeatExactly) {
    const std::filesystem::path first = Scratch / "first.png";
    const std::filesystem::path second = Scratch / "second.png";
    const std::filesystem::path still = Scratch / "still.png";
    ASSERT_EQ(
        Run(Render("--arena Market --actor Gov --layout 50 --out \"" + first.string() + "\"")), 0)
        << Errors;
    ASSERT_EQ(
        Run(Render("--arena Market --actor Gov --layout=50 --out \"" + second.string() + "\"")), 0)
        << Errors;
    ASSERT_EQ(Run(Render("--arena Market --actor Gov --out \"" + still.string() + "\"")), 0);
    EXPECT_EQ(ReadFile(first), ReadFile(second));
    EXPECT_NE(ReadFile(first), ReadFile(still));
}

TEST_F(RenderTest, SystemDiagramOfTheArena) {
    const std::filesystem::path png = Scratch / "system.png";
    const std::filesystem::path svg = Scratch / "system.svg";
    ASSERT_EQ(Run(Render("--arena Market --system-diagram --out \"" + png.string() + "\"")), 0)
        << Errors;
    // An empty analyst view: a box of 30 + 60 by 30 + 40 at (10, 10), 10 pixels of margin.
    EXPECT_EQ(SizeOf(ReadFile(png)), (TPictureSize{110, 90}));
    ASSERT_EQ(
        Run(Render("--arena Market --system-diagram --arrows --out \"" + svg.string() + "\"")), 0)
        << Errors;
    EXPECT_NE(ReadFile(svg).find("<desc>System diagram</desc>"), std::string::npos);
}

TEST_F(RenderTest, MissingCaseArenaOrActorFails) {
    const std::string out = " --out \"" + (Scratch / "p.png").string() + "\"";
    EXPECT_EQ(Run(Render("--arena Harbour" + out)), 2);
    EXPECT_NE(Errors.find("no arena \"Harbour\""), std::string::npos) << Errors;
    EXPECT_EQ(Run(Render("--arena Market --actor Farmers" + out)), 2);
    EXPECT_NE(Errors.find("no actor \"Farmers\""), std::string::npos) << Errors;
    EXPECT_EQ(Run("render \"" + (Scratch / "nowhere").string() + "\" --arena Market" + out), 2);
    EXPECT_FALSE(std::filesystem::exists(Scratch / "p.png"));
}

#else

TEST_F(RenderTest, BuildWithoutQtCannotDraw) {
    EXPECT_EQ(Run(Render("--arena Market --out \"" + (Scratch / "p.png").string() + "\"")), 2);
    EXPECT_NE(Errors.find("cannot draw"), std::string::npos) << Errors;
}

#endif

}  // namespace
}  // namespace kavo
