#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo {
namespace {

using test::TMessage;

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines from the first that equals `from` on; empty when there is none.
std::vector<std::string> From(const std::vector<std::string>& lines, const std::string& from) {
    const auto start = std::find(lines.begin(), lines.end(), from);
    return {start, lines.end()};
}

class CaseWriterTest : public test::CaseFileTest {
  protected:
    TFiP* Show(TPerception& perception, TFactor* factor, int x = 10, int y = 20) {
        auto fip = std::make_unique<TFiP>(factor);
        fip->X = x;
        fip->Y = y;
        const int index = perception.Add(std::move(fip));
        return perception.FiPs[static_cast<std::size_t>(index)].get();
    }
    TLink* Link(TPerception& perception, TFiP* from, TFiP* to, int level, int degree) {
        auto link = std::make_unique<TLink>(Case, from, to);
        link->Level = static_cast<std::int8_t>(level);
        link->Uncertainty = static_cast<std::uint8_t>(degree);
        link->Vector = UncertaintyProfile(degree, level);
        link->Distribution.SetMultiplier(Case, level, degree);
        const int index = perception.Add(std::move(link));
        return perception.Links[static_cast<std::size_t>(index)].get();
    }

    // A case with one of every record: the document the golden file holds.
    void BuildSmallCase() {
        Case.Name = "Small case";
        Case.Comment = {"  A case with one of everything.", "Second line  "};
        TTag* red = Case.FindOrCreateTag("Red");
        red->LightColor = 0x8080FF;
        red->MidColor = 0x0000FF;
        red->DarkColor = 0x000080;
        TTag* blue = Case.FindOrCreateTag("Blue");
        blue->Comment = {"Cold things"};
        TGroup* group = Case.FindOrCreateGroup("Warm", "factors");
        group->Tags = {red};
        group->Checked = true;
        group->UpdateDescription();
        Case.FindOrCreateGroup("Everyone", "actors");
        TFactor* price = Case.FindOrCreateFactor("Water_price");
        price->Tags = {red, blue};
        TFactor* stock = Case.FindOrCreateFactor("Reservoir", true);
        stock->Comment = {"Stored water"};
        TActor* city = Case.FindOrCreateActor("City council", "City");
        city->Tags = {blue};
        city->Comment = {"Runs the water works"};
        TActor* farmers = Case.FindOrCreateActor("Farmers");
        TFactor* budget = Case.FindOrCreateFactor("Budget", true, false, "City");
        TFactor* raise = Case.FindOrCreateFactor("Raise price", false, true, "City");
        raise->Comment = {"By decree"};
        auto relation = std::make_unique<TActorRelation>(city, farmers);
        relation->Strength = {-2, 1, 0, 0};
        relation->Comment = {"Old quarrel"};
        Case.Relations.push_back(std::move(relation));
        TArena* arena = Case.FindOrCreateArena("Drought");
        arena->Comment = {"Summer"};
        TAiA* cityRecord = arena->AddActor(city);
        cityRecord->Priority = 1;
        cityRecord->Comment = {"Acts first"};
        arena->AddActor(farmers)->Priority = 2;

        TPerception& view = *arena->AnalystView;
        TFiP* viewPrice = Show(view, price, 100, 50);
        TFiP* viewStock = Show(view, stock, 200, -5);
        viewStock->Operator = TOperator::opMin;
        view.Add(std::make_unique<TProspect>(Case, viewStock, -2, 1));
        view.Add(std::make_unique<TGoal>(Case, viewPrice, TGoalType::gtNegative, 2, 3));
        Link(view, viewPrice, viewStock, -3, 2)->Comment = {"Dry years"};

        TPerception& mind = *cityRecord->Perception;
        TFiP* mindRaise = Show(mind, raise, 30, 40);
        mindRaise->ActionRange = TActionRange{{false, false, true, true, true, false, false}};
        mindRaise->ChosenLevel = 1;
        mindRaise->UpdateFeasibleLevels();
        mindRaise->Comment = {"Politically hard"};
        TFiP* mindBudget = Show(mind, budget, 130, 40);
        TFiP* mindPrice = Show(mind, price, 80, 90);
        mind.Add(std::make_unique<TGoal>(Case, mindBudget, TGoalType::gtStandard, 2, 2));
        mind.Add(std::make_unique<TGoal>(mindPrice, TLevels<std::int8_t>{{-1, 0, 1, 2, 1, 0, -3}}));
        Link(mind, mindRaise, mindPrice, 3, 0);
        Link(mind, mindPrice, mindBudget, 1, 1);
        Link(mind, mindBudget, mindRaise, -1, 3);
    }
};

TEST_F(CaseWriterTest, SmallCaseMatchesTheGoldenDocument) {
    BuildSmallCase();
    const std::filesystem::path path = std::string(KAVO_TEST_DATA) + "/casefile/Small.htm";
    // After a deliberate change of the format: KAVO_UPDATE_GOLDEN=1 writes the file anew.
    if (std::getenv("KAVO_UPDATE_GOLDEN") != nullptr) {
        test::WriteFile(path, test::Join(Document()));
    }
    EXPECT_EQ(test::Join(Document()), test::ReadFile(path));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(CaseWriterTest, EmptyCaseKeepsEveryTableAndTheClosingLines) {
    const std::vector<std::string> body = From(Document(), "<body>");
    const std::vector<std::string> expected = {
        "<body>",
        "<p class=case>New case</p>",
        "<p class=cmnt>",
        "",
        "</p><br class=\"case comment ends\">",
        "<table>",
        "  <tr><th align=\"left\" colspan=\"3\">Tags used in case</th></tr>",
        "</table>",
        "<table>",
        "  <tr><th align=\"left\" colspan=\"3\">Groups used in analysis</th></tr>",
        "</table>",
        "<table>",
        "  <tr><th align=\"left\" colspan=\"3\">Concepts used in case</th></tr>",
        "</table>",
        "<hr>",
        "<p class=\"concepts\">Actor relations in case</p>",
        "<table class=\"actorrelations\">",
        "</table>",
        "<hr>",
        "<hr>",
        "<p class=concepts>Overview of arenas and actors in case</p>",
        "<hr>",
        "<hr>",
        "</body>",
        "</html>",
    };
    EXPECT_EQ(body, expected);
}

TEST_F(CaseWriterTest, EmptyAnalystViewIsFourTableLinesWithoutRule) {
    Case.FindOrCreateArena("Empty");
    const std::vector<std::string> tail =
        From(Document(), "<p class=arena><img src=\"gif/arena.gif\">Arena &quot;Empty&quot;</p>");
    const std::vector<std::string> expected = {
        "<p class=arena><img src=\"gif/arena.gif\">Arena &quot;Empty&quot;</p>",
        "<table>",
        "</table>",
        "<table>",
        "</table>",
        "<hr>",
        "</body>",
        "</html>",
    };
    EXPECT_EQ(tail, expected);
}

TEST_F(CaseWriterTest, TagIconsNameTheTagsInTheConceptsOrder) {
    std::vector<TTag*> tags;
    for (int i = 0; i < 13; ++i) {
        tags.push_back(Case.FindOrCreateTag("Tag " + std::string(1, static_cast<char>('a' + i))));
    }
    TFactor* two = Case.FindOrCreateFactor("Two");
    two->Tags = {tags[2], tags[0]};
    Case.FindOrCreateFactor("Twelve")->Tags = {tags[12]};
    Case.FindOrCreateFactor("None");
    const std::vector<std::string> lines = Document();
    EXPECT_TRUE(HasLine(lines, "    <td><img src=\"gif/tag_2_0.gif\"></td>"));
    EXPECT_TRUE(HasLine(lines, "    <td><img src=\"gif/tag12.gif\"></td>"));
    EXPECT_TRUE(HasLine(lines, "    <td><img src=\"gif/notag.gif\"></td>"));
    // Only a concept with several tags needs an icon of its own.
    EXPECT_EQ(Images.Written,
              (std::vector<std::string>{"tags 2 " + Scratch.string() + "/gif/tag_2_0.gif"}));
}

TEST_F(CaseWriterTest, OptionDecimalsAreRoundedAsWritten) {
    Case.BaseLevel = 12.5;
    Case.SetChangeLevels(0.5, 2, 4);
    Case.SetLinkMultiplier(1.5);
    const std::vector<std::string> lines = Document();
    EXPECT_TRUE(HasLine(lines, "<meta name=\"KAVO option BL\" content=\"base level=12\">"));
    EXPECT_TRUE(
        HasLine(lines, "<meta name=\"KAVO option CL\" content=\"change levels: 0.50,2,4\">"));
    EXPECT_TRUE(HasLine(lines, "<meta name=\"KAVO option LM\" content=\"link multiplier: 1.5\">"));
}

TEST_F(CaseWriterTest, FactorNamesWriteUnderscoresAsSpacesAndShortNamesInASpan) {
    Case.FindOrCreateFactor("Ground_water_level");
    Case.FindOrCreateActor("Water board", "WB");
    Case.FindOrCreateFactor("Pump_rate", false, true, "WB");
    const std::vector<std::string> lines = Document();
    EXPECT_TRUE(HasLine(lines, "    <td>Ground&nbsp;water&nbsp;level</td>"));
    EXPECT_TRUE(HasLine(lines, "    <td>Pump&nbsp;rate <span class=ac>[WB]</span></td>"));
    EXPECT_TRUE(HasLine(lines, "    <td>Water board <span class=ac>[WB]</span></td>"));
}

TEST_F(CaseWriterTest, RoundStateIsWrittenOnlyInLaterRounds) {
    TFactor* factor = Case.FindOrCreateFactor("Level");
    const std::string empty = "    <td width=24>&nbsp;</td>";
    const std::string state =
        "    <td width=24><nobr><font color=\"#0000FF\">2.35</font> <i><font "
        "color=\"#0000FF\">(-0.125)</font></i></nobr></td>";
    const struct {
        const char* Arena;
        std::string GoalCell;
        const char* Header;
    } cases[] = {
        {"*Round  0", empty, "State"},
        {"*Round  3", state, "State"},
        {"Ordinary", empty, "Goal"},
    };
    for (const auto& c : cases) {
        test::TCaseFixture fixture;
        TArena* arena = fixture.Case.FindOrCreateArena(c.Arena);
        TFactor* shown = fixture.Case.FindOrCreateFactor(factor->Name);
        TFiP* fip = Show(*arena->AnalystView, shown);
        fip->RoundValue = 2.35;
        fip->PendingChange = -0.125;
        const std::vector<std::string> lines = Document(fixture.Case);
        EXPECT_TRUE(HasLine(lines, c.GoalCell)) << c.Arena;
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(std::string("<p class=ihdr>") + c.Header + "</p>") !=
                   std::string::npos;
        })) << c.Arena;
    }
}

TEST_F(CaseWriterTest, CommentsThatHoldRecordEndsAreEscapedOthersStayPlain) {
    const struct {
        std::vector<std::string> Comment;
        std::string Marker;
        std::vector<std::string> Text;
    } cases[] = {
        {{"Plain <b>text</b> & more"}, "<p class=cmnt>", {"Plain <b>text</b> & more"}},
        {{"Ends </td> early"}, "<p class=\"cmnt esc\">", {"Ends &lt;/td&gt; early"}},
        {{"a", "</table> & &amp;"},
         "<p class=\"cmnt esc\">",
         {"a", "&lt;/table&gt; &amp; &amp;amp;"}},
    };
    for (const auto& c : cases) {
        TTag tag(&Case, "T");
        tag.Comment = c.Comment;
        std::vector<std::string> lines = {"  </tr>"};
        TCaseWriter::CommentRows(tag, false, lines);
        std::vector<std::string> expected = {"  </tr>", "  <tr class=\"comment\">",
                                             "    <td colspan=\"2\">&nbsp;</td><td>" + c.Marker};
        expected.insert(expected.end(), c.Text.begin(), c.Text.end());
        expected.insert(expected.end(), {"    </p></td>", "  </tr>"});
        EXPECT_EQ(lines, expected);
    }
}

TEST_F(CaseWriterTest, TextBeyondAsciiIsDeclaredAsUtf8) {
    EXPECT_FALSE(HasLine(
        Document(), "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"));
    Case.FindOrCreateFactor("Wasserst\u00e4nde");
    const std::vector<std::string> lines = Document();
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines[2], "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    EXPECT_EQ(lines[3], "<title>New case</title>");
}

TEST_F(CaseWriterTest, SavingWritesTheDocumentAndMarksTheCaseSaved) {
    BuildSmallCase();
    Case.Modified = true;
    Case.Version = "1.2.4";
    const std::filesystem::path folder = Scratch / "new" / "case";
    ASSERT_TRUE(Save(Case, folder.string() + "/"));
    EXPECT_EQ(test::ReadFile(folder / "KAVO case.htm"), test::Join(Document()));
    EXPECT_EQ(Case.Folder, folder.string() + "/");
    EXPECT_EQ(Case.Version, "1.3.3");
    EXPECT_FALSE(Case.Modified);
    EXPECT_EQ(Status.Texts, (std::vector<std::string>{"Saving images", "Saving case data", ""}));
    EXPECT_EQ(Images.Written.front(), "set " + folder.string() + "/gif/");
    EXPECT_FALSE(std::filesystem::exists(folder / "KAVO case.htm.new"));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(CaseWriterTest, SavingTwiceDiffersOnlyInTheDate) {
    BuildSmallCase();
    TCaseWriter(Case, Images, [] { return "one day"; }).Save(Scratch.string());
    const std::vector<std::string> first =
        test::SplitLines(test::ReadFile(Scratch / "KAVO case.htm"));
    TCaseWriter(Case, Images, [] { return "another day"; }).Save(Scratch.string());
    const std::vector<std::string> second =
        test::SplitLines(test::ReadFile(Scratch / "KAVO case.htm"));
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i].starts_with("<!-- Generated by KAVO version")) {
            EXPECT_NE(first[i], second[i]);
        } else {
            EXPECT_EQ(first[i], second[i]) << "line " << i + 1;
        }
    }
}

TEST_F(CaseWriterTest, FolderThatCannotBeMadeLeavesTheCaseUnsaved) {
    test::WriteFile(Scratch / "file", "not a folder");
    Case.Modified = true;
    Case.Folder = "/old/";
    EXPECT_FALSE(Save(Case, Scratch / "file" / "case"));
    EXPECT_EQ(
        Messages.Log,
        (std::vector<TMessage>{{TMessage::Kind::Error, "Could not create folder \"" +
                                                           (Scratch / "file" / "case").string() +
                                                           "\": Not a directory"}}));
    EXPECT_TRUE(Case.Modified);
    EXPECT_EQ(Case.Folder, "/old/");
    EXPECT_TRUE(Images.Written.empty());
}

// Files of this process may grow to a few kilobytes while it lives: writing more fails as on a
// full disk.
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t bytes) {
        Signal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &Saved);
        const rlimit limit{bytes, Saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, Signal);
    }

  private:
    rlimit Saved{};
    void (*Signal)(int) = nullptr;
};

// The names in the folder that a save writes on the way: what a failed save must not leave.
std::vector<std::string> LeftOver(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".")) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

TEST_F(CaseWriterTest, FailedSaveKeepsThePreviousDocument) {
    const std::string previous = "<html>the previous document</html>\r\n";
    test::WriteFile(Scratch / "KAVO case.htm", previous);
    Case.Modified = true;
    {
        TFileSizeLimit fullDisk(1000);
        EXPECT_FALSE(Save(Case, Scratch));
    }
    EXPECT_EQ(Messages.Log,
              (std::vector<TMessage>{
                  {TMessage::Kind::Error, "Could not create case file \"" + Scratch.string() +
                                              "/KAVO case.htm\": File too large"}}));
    EXPECT_EQ(test::ReadFile(Scratch / "KAVO case.htm"), previous);
    EXPECT_TRUE(LeftOver(Scratch).empty());
    EXPECT_TRUE(Case.Modified);
    EXPECT_EQ(Case.Folder, "");
    EXPECT_EQ(Status.Texts.back(), "");
}

TEST_F(CaseWriterTest, SaveKeepsTheDocumentsPermissions) {
    namespace fs = std::filesystem;
    test::WriteFile(Scratch / "KAVO case.htm", "older");
    fs::permissions(Scratch / "KAVO case.htm", fs::perms::owner_read | fs::perms::group_read);
    ASSERT_TRUE(Save(Case, Scratch));
    EXPECT_TRUE(test::ReadFile(Scratch / "KAVO case.htm").starts_with("<html>"));
    EXPECT_EQ(fs::status(Scratch / "KAVO case.htm").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
}

// Two cases saved into the same folder at the same time, again and again: the document is always
// the whole of one of them, never one spliced with the other.
TEST_F(CaseWriterTest, ConcurrentSavesIntoOneFolderLeaveOneWholeDocument) {
    test::TTestPlatform otherPlatform;
    TCase other(otherPlatform.Context);
    ASSERT_EQ(ReadCase(Case, std::string(KAVO_EXAMPLES) + "/Water"), TReadOutcome::roRead);
    ASSERT_EQ(TCaseReader(other).ReadDocument(
                  test::ReadFile(std::string(KAVO_TEST_DATA) + "/casefile/Small.htm")),
              TReadOutcome::roRead);
    const auto save = [this](TCase& saved) {
        TImageWriter noImages;
        TCaseWriter(saved, noImages, test::FixedClock).Save(Scratch.string());
    };
    save(Case);
    const std::string water = test::ReadFile(Scratch / "KAVO case.htm");
    save(other);
    const std::string small = test::ReadFile(Scratch / "KAVO case.htm");
    for (int round = 0; round < 40; ++round) {
        std::thread first(save, std::ref(Case));
        std::thread second(save, std::ref(other));
        first.join();
        second.join();
        const std::string document = test::ReadFile(Scratch / "KAVO case.htm");
        ASSERT_TRUE(document == water || document == small)
            << "round " << round << ": " << document.size() << " bytes";
    }
    EXPECT_TRUE(LeftOver(Scratch).empty());
}

TEST_F(CaseWriterTest, CustomGoalIconIsWrittenWhenItsRowIs) {
    TArena* arena = Case.FindOrCreateArena("A");
    TFiP* fip = Show(*arena->AnalystView, Case.FindOrCreateFactor("F"));
    arena->AnalystView->Add(
        std::make_unique<TGoal>(fip, TLevels<std::int8_t>{{-3, -2, -1, 0, 1, 2, 3}}));
    const std::vector<std::string> lines = Document();
    EXPECT_TRUE(HasLine(lines, "    <td width=24><img src=\"gif/gu-3-2-10123.gif\"></td>"));
    EXPECT_EQ(Images.Written,
              (std::vector<std::string>{"goal " + Scratch.string() + "/gif/gu-3-2-10123.gif"}));
}

}  // namespace
}  // namespace kavo
