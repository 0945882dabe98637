#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "casefile/CaseFileFixture.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "support/CaseDifferences.h"

namespace kavo {
namespace {

using test::TMessage;

// Lines of a document, edited by text: the tests start from a document the writer made and
// change what the case at hand is about.
class TEditedDocument {
  public:
    explicit TEditedDocument(std::vector<std::string> lines) : Lines(std::move(lines)) {}

    // Every line holding `from` has it replaced by `to`.
    TEditedDocument& Replace(const std::string& from, const std::string& to) {
        for (std::string& line : Lines) {
            for (std::size_t at = line.find(from); at != std::string::npos;
                 at = line.find(from, at + to.size())) {
                line.replace(at, from.size(), to);
            }
        }
        return *this;
    }
    TEditedDocument& DropLinesWith(const std::string& text) {
        std::erase_if(
            Lines, [&](const std::string& line) { return line.find(text) != std::string::npos; });
        return *this;
    }
    // Keeps the lines before the first that holds the text.
    TEditedDocument& CutAt(const std::string& text) {
        const auto at = std::find_if(Lines.begin(), Lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
        Lines.erase(at, Lines.end());
        return *this;
    }
    std::string Text() const { return test::Join(Lines); }

  private:
    std::vector<std::string> Lines;
};

class CaseReaderTest : public test::CaseFileTest {
  protected:
    CaseReaderTest() : Read(Context) {}

    TFiP* Show(TPerception& perception, TFactor* factor) {
        const int index = perception.Add(std::make_unique<TFiP>(factor));
        return perception.FiPs[static_cast<std::size_t>(index)].get();
    }

    // A small case: an actor with an attribute and an action in one arena, and a perception.
    void BuildCase() {
        Case.Name = "Reader case";
        TActor* actor = Case.FindOrCreateActor("Water board", "WB");
        TFactor* level = Case.FindOrCreateFactor("Level", false, false, "WB");
        level->Comment = {"Measured daily"};
        TFactor* pump = Case.FindOrCreateFactor("Pump", false, true, "WB");
        TFactor* rain = Case.FindOrCreateFactor("Rain");
        TArena* arena = Case.FindOrCreateArena("Dry summer");
        TAiA* record = arena->AddActor(actor);
        record->Priority = 1;
        TPerception& perception = *record->Perception;
        TFiP* fipPump = Show(perception, pump);
        TFiP* fipLevel = Show(perception, level);
        Show(perception, rain);
        perception.Add(std::make_unique<TGoal>(Case, fipLevel, TGoalType::gtStandard, 2, 3));
        perception.Add(std::make_unique<TLink>(Case, fipPump, fipLevel));
    }
    TEditedDocument Written() { return TEditedDocument(Document()); }
    TReadOutcome ReadText(const std::string& text) { return TCaseReader(Read).ReadDocument(text); }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const TMessage& message : Messages.Log) {
            texts.push_back(message.Text);
        }
        return texts;
    }

    TCase Read;
};

TEST_F(CaseReaderTest, GoldenDocumentReadsBackIntoTheCaseItWasWrittenFrom) {
    const std::string golden = test::ReadFile(std::string(KAVO_TEST_DATA) + "/casefile/Small.htm");
    EXPECT_EQ(ReadText(golden), TReadOutcome::roRead);
    EXPECT_TRUE(Messages.Log.empty());
    EXPECT_EQ(Read.Name, "Small case");
    ASSERT_EQ(Read.ArenaList.Size(), 1);
    const TArena& arena = *Read.ArenaList[0];
    ASSERT_EQ(arena.Actors.size(), 2u);
    EXPECT_EQ(arena.Actors[0]->Comment, std::vector<std::string>{"Acts first"});
    EXPECT_EQ(arena.Actors[1]->Priority, 2);
    const TPerception& mind = *arena.Actors[0]->Perception;
    const TFiP* raise = mind.FindFiP(Read.FactorList.Find("Raise price [City]"));
    ASSERT_NE(raise, nullptr);
    EXPECT_EQ(raise->ChosenLevel, 1);
    EXPECT_EQ(raise->ActionRange, (TActionRange{{false, false, true, true, true, false, false}}));
    EXPECT_EQ(raise->FeasibleCount, 3);
    EXPECT_EQ(Read.FactorList.Find("Water_price")->Tags.size(), 2u);
    EXPECT_TRUE(Read.GroupList.Find("Warm")->Checked);
    EXPECT_EQ(Read.GroupList.Find("Warm")->Comment, std::vector<std::string>{"{Red}"});
    EXPECT_EQ(Read.Relations.at(0)->Strength[0], -2);
}

TEST_F(CaseReaderTest, MissingDocumentIsReportedAndTheCaseStaysEmpty) {
    EXPECT_EQ(TCaseReader(Read).Read(Scratch.string()), TReadOutcome::roNotOpened);
    EXPECT_EQ(Messages.Log, (std::vector<TMessage>{{TMessage::Kind::Warning,
                                                    "Could not open file \"" + Scratch.string() +
                                                        "/KAVO case.htm\": No such file or "
                                                        "directory"}}));
    EXPECT_EQ(Read.Folder, Scratch.string() + "/");
    EXPECT_TRUE(Read.FactorList.Empty());
}

TEST_F(CaseReaderTest, UnreadableDocumentSaysWhy) {
    test::WriteFile(Scratch / "file.htm", "a file");
    std::filesystem::create_directories(Scratch / "odd" / "KAVO case.htm");
    const struct {
        std::filesystem::path Folder;
        std::string Reason;
    } cases[] = {
        {Scratch / "nowhere", "No such file or directory"},
        {Scratch / "file.htm",
         "\"" + (Scratch / "file.htm").string() + "\" is a file, not a case folder"},
        {Scratch / "odd", "not a file"},
    };
    for (const auto& c : cases) {
        test::TCaseFixture fixture;
        EXPECT_EQ(TCaseReader(fixture.Case).Read(c.Folder.string()), TReadOutcome::roNotOpened);
        ASSERT_EQ(fixture.Messages.Log.size(), 1u);
        EXPECT_EQ(fixture.Messages.Log[0].Text,
                  "Could not open file \"" + c.Folder.string() + "/KAVO case.htm\": " + c.Reason);
    }
}

TEST_F(CaseReaderTest, ReadingFromAFolderSetsItAndClearsModified) {
    BuildCase();
    ASSERT_TRUE(Save(Case, Scratch));
    EXPECT_EQ(ReadCase(Read, Scratch.string() + "/"), TReadOutcome::roRead);
    EXPECT_EQ(Read.Folder, Scratch.string() + "/");
    EXPECT_FALSE(Read.Modified);
    EXPECT_EQ(test::CaseDifferences(Case, Read), std::vector<std::string>());
}

TEST_F(CaseReaderTest, DocumentWithoutCaseLineIsInvalidAndKeepsTheHead) {
    BuildCase();
    Case.ArenaGrouping = 1;
    Case.SetChangeLevels(1, 3, 9);
    Read.Folder = "/somewhere/";
    EXPECT_EQ(
        ReadText(Written().Replace("2024-05-06", "1.2.4 on 2024").CutAt("<p class=case>").Text()),
        TReadOutcome::roInvalid);
    EXPECT_EQ(Messages.Log, (std::vector<TMessage>{{TMessage::Kind::Error, "Invalid case file"}}));
    EXPECT_EQ(Read.ArenaGrouping, 1);
    // Options wait for the body, which never came.
    EXPECT_EQ(Read.ChangeLevels[3], 4);
    // Saving what was read must not replace the document.
    EXPECT_EQ(Read.Folder, "");
    EXPECT_FALSE(Read.Modified);
}

TEST_F(CaseReaderTest, TruncatedDocumentIsInvalidAndKeepsWhatWasRead) {
    BuildCase();
    const struct {
        const char* CutAt;
        int Factors;
    } cases[] = {
        {"Groups used in analysis", 0},
        {"class=\"actorrelations\"", 3},
        {"Overview of arenas", 3},
    };
    for (const auto& c : cases) {
        test::TTestPlatform platform;
        TCase read(platform.Context);
        EXPECT_EQ(TCaseReader(read).ReadDocument(Written().CutAt(c.CutAt).Text()),
                  TReadOutcome::roInvalid)
            << c.CutAt;
        EXPECT_EQ(read.FactorList.Size(), c.Factors) << c.CutAt;
        EXPECT_EQ(platform.Messages.Log,
                  (std::vector<TMessage>{{TMessage::Kind::Error, "Invalid case file"}}))
            << c.CutAt;
    }
}

TEST_F(CaseReaderTest, OlderVersionsGetTheOlderStandardUtilityTable) {
    // Priority 1, goal 0, change -3: -1 in the older table, -3 in the current one.
    const struct {
        const char* Version;
        int Entry;
    } entries[] = {{"1.2.4", -1}, {"1.0.9", -1}, {"1.3.0", -3}, {"1.3.3", -3}};
    for (const auto& c : entries) {
        test::TCaseFixture fixture;
        const std::string text =
            Written()
                .Replace("KAVO version 1.3.3", std::string("KAVO version ") + c.Version)
                .DropLinesWith("KAVO option UV")
                .Text();
        TCaseReader(fixture.Case).ReadDocument(text);
        EXPECT_EQ(fixture.Case.Version, c.Version);
        EXPECT_EQ(fixture.Case.StdUtilityVectors.At(1, 0, -3), c.Entry) << c.Version;
        EXPECT_EQ(fixture.Case.NegUtilityVectors, TUtilityVectors::DefaultNegative());
    }
}

TEST_F(CaseReaderTest, GoalsTakeTheirUtilitiesFromTheTableOfTheFile) {
    BuildCase();
    ASSERT_NE(Case.StdUtilityVectors.At(3, 2, 0), 2);
    Case.StdUtilityVectors.At(3, 2, 0) = 2;
    ASSERT_EQ(ReadText(test::Join(Document())), TReadOutcome::roRead);
    const TPerception& perception = *Read.ArenaList[0]->Actors[0]->Perception;
    ASSERT_EQ(perception.Goals.size(), 1u);
    EXPECT_EQ(perception.Goals[0]->Utilities[0], 2);
}

// Option values the case cannot use as written are read as the nearest it can, with one warning
// that lists them; values it can use are kept exactly, however odd.
TEST_F(CaseReaderTest, OptionValuesAreReadAsTheCaseCanHoldThem) {
    const std::string plainTable(147, '1');
    const struct {
        const char* Option;
        std::string Content;
        const char* Warning;
    } cases[] = {
        {"BL", "base level=0", "base level 0 as 10"},
        {"BL", "base level=1e65", nullptr},
        {"UVstd", "suv=7" + plainTable.substr(1), "standard utility table: entries outside"},
        {"UVneg", "nuv=-9" + plainTable.substr(1), "negative utility table: entries outside"},
        {"FT", "font name=\u00c9crit size=9", nullptr},
        {"FT", "font name=[[Sans] size=9", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Content);
        test::TCaseFixture fixture;
        const std::string line = "<meta name=\"KAVO option " + std::string(c.Option) + "\"";
        std::vector<std::string> lines = test::SplitLines(Written().Text());
        for (std::string& text : lines) {
            if (text.starts_with(line)) {
                text = line + " content=\"" + c.Content + "\">";
            }
        }
        ASSERT_EQ(TCaseReader(fixture.Case).ReadDocument(test::Join(lines)), TReadOutcome::roRead);
        if (c.Warning != nullptr) {
            ASSERT_EQ(fixture.Messages.Log.size(), 1u);
            EXPECT_NE(fixture.Messages.Log[0].Text.find(c.Warning), std::string::npos)
                << fixture.Messages.Log[0].Text;
        } else {
            EXPECT_TRUE(fixture.Messages.Log.empty()) << fixture.Messages.Log[0].Text;
        }
        // What was read is written and read back unchanged.
        const std::vector<std::string> once = Document(fixture.Case);
        TCase again(fixture.Context);
        TCaseReader(again).ReadDocument(test::Join(once));
        EXPECT_EQ(Document(again), once);
        EXPECT_EQ(again.BaseLevel, fixture.Case.BaseLevel);
        EXPECT_EQ(again.Font.Name, fixture.Case.Font.Name);
    }
}

TEST_F(CaseReaderTest, ReadOptionValuesStayInRange) {
    test::TCaseFixture fixture;
    std::string text = Written().Text();
    const std::size_t at = text.find("suv=") + 4;
    text[at] = '8';
    text.replace(at + 1, 1, "-9");
    TCaseReader(fixture.Case).ReadDocument(text);
    EXPECT_EQ(fixture.Case.StdUtilityVectors.Entries[0], 3);
    EXPECT_EQ(fixture.Case.StdUtilityVectors.Entries[1], -3);
    TCase plain(fixture.Context);
    const std::string zero = Written().Replace("base level=10", "base level=0").Text();
    TCaseReader(plain).ReadDocument(zero);
    EXPECT_EQ(plain.BaseLevel, 10);
}

TEST_F(CaseReaderTest, StrayLineAfterTheCaseNameKeepsTheComment) {
    Case.Comment = {"Kept"};
    const std::string text = Written().Replace("<p class=cmnt>", "stray\r\n<p class=cmnt>").Text();
    ReadText(text);
    EXPECT_EQ(Read.Comment, std::vector<std::string>{"Kept"});
    ASSERT_EQ(Messages.Log.size(), 1u);
    EXPECT_NE(Messages.Log[0].Text.find("unexpected text after the case name"), std::string::npos)
        << Messages.Log[0].Text;
}

TEST_F(CaseReaderTest, NegativeHalvesOfLevelsWaitForTheUtilityLine) {
    Case.SetChangeLevels(1, 3, 9);
    Case.SetLinkMultiplier(4);
    ReadText(Written().DropLinesWith("utility multipliers").Text());
    EXPECT_EQ(Read.ChangeLevels, (TLevels<double>{{-4, -2, -1, 0, 1, 3, 9}}));
    EXPECT_EQ(Read.LinkMultipliers, (TLevels<double>{{-2, -1, -0.5, 0, 0.25, 1, 4}}));
    EXPECT_TRUE(Messages.Log.empty());
}

TEST_F(CaseReaderTest, DecimalsWithACommaReadAsWithAPoint) {
    ReadText(Written()
                 .Replace("base level=10", "base level=2,5")
                 .Replace("link multiplier: 2", "link multiplier: 1,5")
                 .Text());
    EXPECT_EQ(Read.BaseLevel, 2.5);
    EXPECT_EQ(Read.LinkMultipliers[3], 1.5);
    EXPECT_EQ(Read.LinkMultipliers[-3], -1.5);
}

TEST_F(CaseReaderTest, RoundValuesWithACommaReadAsWithAPoint) {
    TArena* arena = Case.FindOrCreateArena("*Round  2");
    TFiP* fip = Show(*arena->AnalystView, Case.FindOrCreateFactor("Level"));
    fip->RoundValue = 2.25;
    fip->PendingChange = -0.5;
    Context.DecimalSeparator = ',';
    const std::string text = test::Join(Document());
    ASSERT_NE(text.find(">2,25</font>"), std::string::npos);
    ReadText(text);
    const TFiP& read = *Read.ArenaList[0]->AnalystView->FiPs.at(0);
    EXPECT_EQ(read.RoundValue, 2.25);
    EXPECT_EQ(read.PendingChange, -0.5);
}

TEST_F(CaseReaderTest, ActorWithoutCommentDoesNotTakeItsAttributesComment) {
    BuildCase();
    ReadText(test::Join(Document()));
    EXPECT_TRUE(Read.ActorList.Find("Water board")->Comment.empty());
    EXPECT_EQ(Read.FactorList.Find("Level [WB]")->Comment,
              std::vector<std::string>{"Measured daily"});
}

TEST_F(CaseReaderTest, PerceptionOfAnActorNotInTheArenaIsSkippedSilently) {
    BuildCase();
    ReadText(Written()
                 .Replace("<span class=ac>Water board</span>", "<span class=ac>Nobody</span>")
                 .Text());
    EXPECT_TRUE(Messages.Log.empty());
    EXPECT_TRUE(Read.ArenaList[0]->Actors[0]->Perception->FiPs.empty());
}

TEST_F(CaseReaderTest, RowsThatCannotBeUsedAreLeftOutWithOneWarning) {
    BuildCase();
    const std::string text = Written()
                                 .Replace("<td>Rain</td> <span", "<td>Snow</td> <span")
                                 .Replace("gif/l2u0.gif", "gif/l7u0.gif")
                                 .Replace("gif/gc2p3.gif", "gif/gc2p9.gif")
                                 .Text();
    EXPECT_EQ(ReadText(text), TReadOutcome::roRead);
    ASSERT_EQ(Messages.Log.size(), 1u);
    EXPECT_EQ(Messages.Log[0].Kind, TMessage::Kind::Warning);
    const std::string& warning = Messages.Log[0].Text;
    EXPECT_TRUE(warning.starts_with("The case file holds 3 records that could not be read"))
        << warning;
    EXPECT_NE(warning.find("unknown factor \"Snow\""), std::string::npos) << warning;
    EXPECT_NE(warning.find("strength of the link"), std::string::npos) << warning;
    EXPECT_NE(warning.find("goal of \"Level [WB]\""), std::string::npos) << warning;
    const TPerception& perception = *Read.ArenaList[0]->Actors[0]->Perception;
    EXPECT_EQ(perception.FiPs.size(), 2u);
    EXPECT_TRUE(perception.Links.empty());
    EXPECT_TRUE(perception.Goals.empty());
}

TEST_F(CaseReaderTest, OlderCommentMarkedVariant) {
    const std::string text =
        "<html><head>\r\n"
        "<!-- Generated by KAVO version 1.2.4 on 1.1.2003\r\n"
        "-->\r\n"
        "</head><body>\r\n"
        "<p class=case>Old case</p>\r\n"
        "<p class=cmnt>\r\n"
        "An old comment\r\n"
        "</p><br> <!-- case comment ends -->\r\n"
        "<!-- case settings:\r\n"
        "change levels: 1,2,5\r\n"
        "link multiplier: 3\r\n"
        "utility multipliers: 1,2,3\r\n"
        "-->\r\n"
        "<table><tr><th>Tags used in case</th></tr>\r\n"
        "  <tr> <!-- tag -->\r\n"
        "    <td></td>\r\n"
        "    <td><img src=\"gif/tag0.gif\"></td>\r\n"
        "    <td>Old tag</td> <!-- 255|65280|16711680 -->\r\n"
        "  </tr>\r\n"
        "</table>\r\n"
        "<table><tr><th>Groups used in analysis</th></tr>\r\n"
        "  <tr CHECKED> <!-- factor group -->\r\n"
        "    <td><img src=\"gif/tag0.gif\"></td><td><img src=\"gif/factor.gif\"></td>\r\n"
        "    <td>Tagged</td>\r\n"
        "  </tr>\r\n"
        "</table>\r\n"
        "<table><tr><th>Concepts used in case</th></tr>\r\n"
        "  <tr> <!-- factor -->\r\n"
        "    <td><img src=\"gif/tag0.gif\"></td>\r\n"
        "    <td><img src=\"gif/stockfactor.gif\"></td>\r\n"
        "    <td>Old&nbsp;factor</td>\r\n"
        "  </tr>\r\n"
        "  <tr> <!-- comment -->\r\n"
        "    <td colspan=\"2\">&nbsp;</td><td><p class=cmnt>Said once</p></td>\r\n"
        "  </tr>\r\n"
        "  <tr> <!-- actor -->\r\n"
        "    <td><img src=\"gif/notag.gif\"></td>\r\n"
        "    <td><img src=\"gif/actor.gif\"></td>\r\n"
        "    <td>Old actor <span class=ac>[OA]</span></td>\r\n"
        "  </tr>\r\n"
        "</table>\r\n"
        "<hr>\r\n"
        "<p class=concepts>Overview of arenas and actors in case</p>\r\n"
        "<table>\r\n"
        "  <tr> <!-- arena -->\r\n"
        "    <td><img src=\"gif/notag.gif\"></td>\r\n"
        "    <td><img src=\"gif/arena.gif\"></td>\r\n"
        "    <td>Old arena</td>\r\n"
        "  </tr>\r\n"
        "  <tr> <!-- actors -->\r\n"
        "    <td>&nbsp;</td>\r\n"
        "    <td colspan=\"2\"><table>\r\n"
        "      <tr> <!-- aia -->\r\n"
        "        <td><img src=\"gif/notag.gif\"></td><td><img src=\"gif/actor.gif\"></td><td>Old "
        "actor</td>\r\n"
        "      </tr>\r\n"
        "    </table></td>\r\n"
        "  </tr>\r\n"
        "</table>\r\n"
        "<hr>\r\n"
        "<p class=arena>Arena &QUOT;Old arena&quot;</p>\r\n"
        "<table>\r\n"
        "  <tr><th><p class=acper>Perception of <span class=ac>Old actor</span></p></th></tr>\r\n"
        "  <tr><td><img src=\"gif/ar0ac0.gif\"></td></tr>\r\n"
        "  <tr><th>Factor</th></tr>\r\n"
        "  <tr> <!-- FiP -->\r\n"
        "    <td><img src=\"gif/factor.gif\"></td>\r\n"
        "    <td>Old&nbsp;factor</td> <!-- 12|34 -->\r\n"
        "    <td><img src=\"gif/p1u2.gif\"></td>\r\n"
        "    <td>&nbsp;</td>\r\n"
        "    <td></td>\r\n"
        "  </tr>\r\n"
        "</table>\r\n"
        "<table>\r\n"
        "</table>\r\n"
        "</body></html>\r\n";
    EXPECT_EQ(ReadText(text), TReadOutcome::roRead);
    EXPECT_TRUE(Messages.Log.empty()) << Messages.Log.front().Text;
    EXPECT_EQ(Read.Version, "1.2.4");
    EXPECT_EQ(Read.Comment, std::vector<std::string>{"An old comment"});
    EXPECT_EQ(Read.ChangeLevels, (TLevels<double>{{-5, -2, -1, 0, 1, 2, 5}}));
    EXPECT_EQ(Read.LinkMultipliers[-3], -3);
    const TTag* tag = Read.TagList.Find("Old tag");
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->DarkColor, 16711680u);
    const TGroup* group = Read.GroupList.Find("Tagged");
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->Checked);
    EXPECT_EQ(group->GroupKind, TGroupKind::gkFactor);
    const TFactor* factor = Read.FactorList.Find("Old_factor");
    ASSERT_NE(factor, nullptr);
    EXPECT_TRUE(factor->IsStock);
    EXPECT_EQ(factor->Comment, std::vector<std::string>{"Said once"});
    EXPECT_EQ(Read.ActorList.Find("Old actor")->ShortName, "OA");
    const TPerception& perception = *Read.ArenaList.Find("Old arena")->Actors.at(0)->Perception;
    ASSERT_EQ(perception.FiPs.size(), 1u);
    EXPECT_EQ(perception.FiPs[0]->X, 12);
    EXPECT_EQ(perception.FiPs[0]->Y, 34);
    EXPECT_EQ(perception.ProspectOf(perception.FiPs[0].get())->Uncertainty, 2);
}

TEST_F(CaseReaderTest, Windows1252DocumentsReadAsTheirCharacters) {
    BuildCase();
    Case.Name = "Caf\u00e9";
    // As an older version wrote it: one byte per character, no declaration.
    std::string text =
        Written().DropLinesWith("charset=utf-8").Replace("Caf\u00e9", "Caf\xe9").Text();
    ReadText(text);
    EXPECT_EQ(Read.Name, "Caf\u00e9");
}

TEST_F(CaseReaderTest, AnalysisLinesAndGroupModesAreKept) {
    Case.AnalysisLines = {"<meta name=\"KAVO analysis 2\" content=\"Goal conflicts=0101\">"};
    Case.FactorGrouping = 1;
    Case.MentionedOnly = false;
    ReadText(Written().Text());
    EXPECT_EQ(Read.AnalysisLines, Case.AnalysisLines);
    EXPECT_EQ(Read.FactorGrouping, 1);
    EXPECT_FALSE(Read.MentionedOnly);
    const struct {
        const char* Modes;
        int FactorGrouping;
        std::size_t Warnings;
    } cases[] = {{"4421", 2, 0}, {"442", 3, 0}, {"9421", 3, 1}, {"44a1", 3, 1}};
    for (const auto& c : cases) {
        test::TTestPlatform platform;
        TCase read(platform.Context);
        TCaseReader(read).ReadDocument(
            Written()
                .Replace("content=\"4410\"", std::string("content=\"") + c.Modes + "\"")
                .Text());
        EXPECT_EQ(read.FactorGrouping, c.FactorGrouping) << c.Modes;
        EXPECT_EQ(platform.Messages.Log.size(), c.Warnings) << c.Modes;
    }
}

TEST_F(CaseReaderTest, CaseNameMayHoldAnyMarkup) {
    Case.Name = "Case <p class=case> </p> KAVO version 9";
    ReadText(Written().Text());
    EXPECT_EQ(Read.Name, Case.Name);
    EXPECT_EQ(Read.Version, "1.3.3");
}

TEST_F(CaseReaderTest, ActionWhoseActorWasLostStaysAnAction) {
    // The model keeps an action for an unknown short name, without actor, after an error.
    TFactor* action = Case.FindOrCreateFactor("Orphan", false, true, "Gone");
    ASSERT_TRUE(action->IsAction);
    ASSERT_EQ(action->Owner, nullptr);
    Messages.Log.clear();
    const std::string first = Written().Text();
    ReadText(first);
    EXPECT_TRUE(Read.FactorList.Find("Orphan")->IsAction);
    EXPECT_EQ(test::Join(Document(Read)), first);
}

TEST_F(CaseReaderTest, GarbageNeverStopsTheReader) {
    const std::string cases[] = {
        "",
        "\r\n\r\n",
        std::string(100000, '<'),
        "<p class=case>",
        "<p class=case>x</p>\r\n<p class=cmnt>\r\n",
        "<p class=case>x</p>\nTags used in case\n<tr class=\"tag\">",
        "<p class=case>x</p>\nTags used in case\n</table>\nConcepts used in case\n<tr "
        "class=\"actor\">",
        "<p class=case>\r\nOverview of arenas\r\n\r\n<tr class=\"arena\">\r\n<p class=arena>",
        std::string("<p class=case>\0\xff\xfe", 17),
    };
    for (const std::string& text : cases) {
        test::TCaseFixture fixture;
        TCaseReader(fixture.Case).ReadDocument(text);
        EXPECT_FALSE(fixture.Case.Modified);
    }
}

}  // namespace
}  // namespace kavo
