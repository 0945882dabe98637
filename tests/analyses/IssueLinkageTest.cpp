#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/Grouping.h"
#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TIssueLinkage.h"
#include "model/TFactor.h"
#include "model/TPseudoGroup.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;
using test::CellTexts;

// Utilities of a custom goal whose best level is `level`, worth u there and 0 elsewhere.
TLevels<std::int8_t> Wants(int level, int u) {
    TLevels<std::int8_t> utilities{};
    utilities[level] = static_cast<std::int8_t>(u);
    return utilities;
}

class IssueLinkageTest : public test::AnalysisTest {
  protected:
    void Goal(test::TPerceptionBuilder& builder, const char* factor, int level, int u) {
        builder.Perception->Add(std::make_unique<TGoal>(builder.Factor(factor), Wants(level, u)));
    }
};

TEST_F(IssueLinkageTest, ConsensusWeighsTheScoresOfThePreferences) {
    struct TCase {
        std::vector<std::pair<int, int>> Wishes;  // (level, utility) per actor
        int Consensus;
    };
    // Utility 2 scores 0.5, utility 1 scores 0.25.
    const TCase cases[] = {
        {{{2, 2}, {-2, 1}}, 1},
        {{{2, 2}, {-2, 2}}, 0},
        {{{-1, 1}}, -1},
        {{{0, 2}, {3, 1}}, 0},
        {{}, 0},
    };
    const char* actors[] = {"Alpha", "Beta"};
    int arenaNumber = 0;
    for (const TCase& c : cases) {
        const std::string arena = "Arena " + std::to_string(arenaNumber++);
        for (std::size_t i = 0; i < c.Wishes.size(); ++i) {
            test::TPerceptionBuilder builder(Case, actors[i], arena);
            Goal(builder, "W", c.Wishes[i].first, c.Wishes[i].second);
        }
        TArena* arenaRecord = Case.FindOrCreateArena(arena);
        EXPECT_EQ(Consensus(*arenaRecord, Case.FindOrCreateFactor("W")), c.Consensus) << arena;
    }
}

// Arena X: the farmer wants W to rise and shows V, the town wants W to rise. Arena Y: the farmer
// wants W to fall, the union shows Z. Arena Empty has no actor.
class LinkageTableTest : public IssueLinkageTest {
  protected:
    LinkageTableTest() {
        test::TPerceptionBuilder xFarmer(Case, "Farmer", "X");
        Goal(xFarmer, "W", 2, 2);
        xFarmer.Factor("V");
        test::TPerceptionBuilder xTown(Case, "Town", "X");
        Goal(xTown, "W", 1, 1);
        test::TPerceptionBuilder yFarmer(Case, "Farmer", "Y");
        Goal(yFarmer, "W", -2, 2);
        test::TPerceptionBuilder yUnion(Case, "Union", "Y");
        yUnion.Factor("Z");
        Case.FindOrCreateArena("Empty");
        Run.Grouping.ArenaGrouping = 3;
        Run.Grouping.ActorGrouping = 3;
        Linkage = catalog.Find("Issue Linkage");
        for (const auto& field : Linkage->Fields) {
            field->Selected = true;
        }
    }

    std::string Report() {
        std::ostringstream out;
        TAnalysisReport(catalog, Run, [] { return "now"; }).RunAnalysis(*Linkage, out);
        return out.str();
    }

    TAnalysisCatalog catalog;
    TAnalysis* Linkage;
};

TEST_F(LinkageTableTest, CellsCompareRowArenaWithColumnArena) {
    const std::string report = Report();
    EXPECT_TRUE(test::Balanced(report));
    const std::size_t rowsAt = report.find("  <tr><th colspan=\"2\" align=\"left\">Empty");
    ASSERT_NE(rowsAt, std::string::npos);
    const Texts cells = CellTexts(report.substr(rowsAt));
    const Texts empty = {"0", "-", "0", "-", "0", "-", "0", "-"};
    const Texts withEmpty = {"0", "0%", "0", "0%", "0", "-", "0", "-"};
    const Texts xWithX = {"2", "100%", "2", "100%", "2", "100%", "0", "0%"};
    const Texts xWithY = {"1", "50%", "1", "50%", "0", "0%", "1", "100%"};
    const Texts yWithX = {"1", "50%", "1", "50%", "0", "0%", "1", "100%"};
    const Texts yWithY = {"2", "100%", "2", "100%", "2", "100%", "0", "0%"};
    Texts expected;
    const auto row = [&](const std::string& name, std::vector<const Texts*> columns) {
        expected.push_back(name);
        for (const Texts* column : columns) {
            expected.insert(expected.end(), column->begin(), column->end());
        }
    };
    row("Empty", {&empty, &empty, &empty});
    row("X", {&withEmpty, &xWithX, &xWithY});
    row("Y", {&withEmpty, &yWithX, &yWithY});
    EXPECT_EQ(cells, expected);
}

TEST_F(LinkageTableTest, TheGraphGetsANodePerArenaAndAnArrowPerCell) {
    Select(*Linkage, {TIssueLinkage::fCommonActors, TIssueLinkage::fActorsPerArena, 8});
    Report();
    ASSERT_EQ(Graph.Calls.size(), 16u);
    EXPECT_EQ(Graph.Calls[0], "show");
    EXPECT_EQ(Graph.Calls[1], "clear Issue Linkage| reflects relevance of B relative to A");
    EXPECT_EQ(Graph.Calls[2], "indicator Common Actors");
    EXPECT_EQ(Graph.Calls[3], "indicator CA / arena (%)");
    EXPECT_EQ(Graph.Calls[4], "node Empty");
    EXPECT_EQ(Graph.Calls[14],
              "arrow X -> Y <td align=\"right\">1</td><td align=\"right\">50%</td>");
}

// An actor whose action reaches its goal over eight uncertain links holds 3^8 combinations of
// uncertain values: its preferences are estimated on a sample, and the table says so.
TEST_F(IssueLinkageTest, EstimatedPreferencesAreNotedUnderTheTable) {
    test::TPerceptionBuilder farmer(Case, "Farmer", "X");
    TFiP* from = farmer.Action("Pump");
    for (int i = 0; i < 8; ++i) {
        TFiP* to = farmer.Factor("F" + std::to_string(i));
        farmer.Link(from, to, 2, 1);
        from = to;
    }
    farmer.Goal(from, 1);
    Run.Grouping.ArenaGrouping = 3;
    TAnalysisCatalog catalog;
    TAnalysis& linkage = *catalog.Find("Issue Linkage");
    Select(linkage, {TIssueLinkage::fSharedInterest});
    std::ostringstream out;
    TAnalysisReport(catalog, Run, [] { return "now"; }).RunAnalysis(linkage, out);
    EXPECT_NE(out.str().find("</table>\r\n<p class=cmnt>Estimated: some values of this table come "
                             "from evaluations on a sample of 4096 combinations"),
              std::string::npos);
    // Without a common factor nothing was rated.
    Select(linkage, {TIssueLinkage::fSharedInterest});
    Case.FindOrCreateArena("Y");
    Run.Grouping.ArenaGrouping = 4;
    Run.Grouping.SelectedArena = Case.FindOrCreateArena("Y");
    std::ostringstream other;
    TAnalysisReport(catalog, Run, [] { return "now"; }).RunAnalysis(linkage, other);
    EXPECT_EQ(other.str().find("Estimated"), std::string::npos);
}

}  // namespace
}  // namespace kavo
