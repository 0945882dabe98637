#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TInferredStrategies.h"
#include "analyses/TSingleGoalStrategies.h"
#include "model/TFactor.h"
#include "reasoning/TStrategy.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;
using test::CellTexts;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The farmer's action X raises G, the goal that wants G as high as possible; Y also reaches G but
// the farmer sees no level for it. The town shows G and X without a goal; the union's perception
// is empty.
class StrategyAnalysesTest : public test::AnalysisTest {
  protected:
    StrategyAnalysesTest() {
        First.Link(X, G);
        First.Link(Y, G);
        Y->ActionRange = TActionRange{{false, false, false, false, false, false, false}};
        Y->UpdateFeasibleLevels();
        First.Perception->Add(
            std::make_unique<TGoal>(G, TLevels<std::int8_t>{{-3, -2, -1, 0, 1, 2, 3}}));
        Second.Link(Second.Show(X->Factor), Second.Factor("G"));
    }
    template <typename T>
    void Fields(T& analysis, int count) {
        for (int i = 0; i < count; ++i) {
            analysis.AddField("field", TFieldKind::fkMean);
        }
    }
    // The table of the catalog's analysis over every actor apart, every field selected.
    std::string Report(const std::string& title) {
        TAnalysisCatalog catalog;
        TAnalysis& analysis = *catalog.Find(title);
        for (const auto& field : analysis.Fields) {
            field->Selected = true;
        }
        Run.Grouping.ArenaGrouping = 3;
        Run.Grouping.ActorGrouping = 3;
        Run.Grouping.FactorGrouping = 3;
        std::ostringstream out;
        TAnalysisReport(catalog, Run, [] { return "now"; }).RunAnalysis(analysis, out);
        return out.str();
    }

    test::TPerceptionBuilder First{Case, "Farmer"};
    test::TPerceptionBuilder Second{Case, "Town"};
    test::TPerceptionBuilder Third{Case, "Union"};
    TFiP* X = First.Action("X");
    TFiP* Y = First.Action("Y");
    TFiP* G = First.Factor("G");
};

TEST_F(StrategyAnalysesTest, SingleGoalStrategyRaisesTheGoalAndHoldsActionsWithoutLevels) {
    TSingleGoalStrategies single("Single Goal Strategies", TAnalysisFamily::afActor);
    Fields(single, 6);
    Select(single, {0, 1, 2, 3, 4});
    const Texts cells = Cell(single, {G->Factor}, {First.Perception});
    ASSERT_EQ(cells.size(), 11U) << ::testing::PrintToString(cells);
    // X goes to +3 for a utility of 1; Y, without a level, stays at 0 and the search still ends.
    EXPECT_EQ(cells, (Texts{"", "X [F]", "", " ", "", "Y [F]", "", " ", "1", "100%", "0%"}));
    const std::string html = single.ValueCells();
    EXPECT_TRUE(Contains(html, "<td class=\"sn\"><img src=\"gif/r3-1.gif\"> </td>")) << html;
    EXPECT_TRUE(Contains(html, "<td class=\"sn\"><img src=\"gif/r0-1.gif\"> </td>")) << html;
    EXPECT_TRUE(test::Balanced(html));

    // A perception without a goal on the factor, or without the factor.
    for (TPerception* column : {Second.Perception, Third.Perception}) {
        Cell(single, {G->Factor}, {column});
        EXPECT_EQ(single.ValueCells(), "<td colspan=\"5\">NO GOAL</td>");
    }
    Select(single, {1, 3});
    Cell(single, {G->Factor}, {Third.Perception});
    EXPECT_EQ(single.ValueCells(), "<td colspan=\"2\">NO GOAL</td>");
}

TEST_F(StrategyAnalysesTest, SingleGoalTableHasRowsForGoalsOnly) {
    First.Factor("H");
    const std::string report = Report("Single Goal Strategies");
    EXPECT_TRUE(test::Balanced(report));
    // G is the farmer's goal: its row shows NO GOAL for the town and the union.
    EXPECT_TRUE(Contains(report, "G</th>")) << report;
    EXPECT_FALSE(Contains(report, "H</th>"));
    EXPECT_EQ(CellTexts(report.substr(report.find("NO GOAL") - 30)).size(), 2U);

    Run.Grouping.ActorGrouping = 0;
    TAnalysisCatalog catalog;
    std::ostringstream out;
    TAnalysisReport(catalog, Run, [] {
        return "now";
    }).RunAnalysis(*catalog.Find("Single Goal Strategies"), out);
    EXPECT_TRUE(Contains(out.str(),
                         "<p class=err>Cannot display strategies for aggregated "
                         "arenas, actors or factors.</p>"));
}

TEST_F(StrategyAnalysesTest, InferredStrategyCells) {
    // X can only rise: the base case takes its least action +1, the worst strategy too.
    X->ActionRange = TActionRange{{false, false, false, false, true, true, true}};
    X->UpdateFeasibleLevels();
    TFiP* fed = First.Action("Z");
    First.Link(G, fed);
    TInferredStrategies inferred("Inferred Strategies", TAnalysisFamily::afActor);
    Fields(inferred, 6);
    Select(inferred, {0, 1, 2, 3});
    const auto cells = [&](TFiP* action, TPerception* column) {
        Cell(inferred, {action->Factor}, {column});
        return inferred.ValueCells();
    };
    EXPECT_EQ(cells(X, First.Perception),
              "<td><img src=\"gif/r1-1.gif\"></td><td class=\"sn\"><img src=\"gif/r3-1.gif\"> "
              "</td><td class=\"sn\"><img src=\"gif/r1-1.gif\"> </td><td><img "
              "src=\"gif/r1-1.gif\"></td>");
    // An action fed by a link is no tactic of any strategy; a perception without the action has
    // dashes.
    EXPECT_EQ(CellTexts(cells(fed, First.Perception)),
              (Texts{"", "no tactic", "no tactic", "no tactic"}));
    EXPECT_EQ(CellTexts(cells(X, Third.Perception)), (Texts{"", "-", "-", "-"}));
    // A level the user chose shows with its own image.
    X->ChosenLevel = 2;
    First.Perception->InvalidateResults();
    EXPECT_TRUE(Contains(cells(X, First.Perception), "<td><img src=\"gif/r2-2.gif\"></td>"));
}

TEST_F(StrategyAnalysesTest, InferredStrategiesTotalsAndDetails) {
    const std::string report = Report("Inferred Strategies");
    EXPECT_TRUE(test::Balanced(report));
    const std::size_t totals = report.find("Utility</th>");
    ASSERT_NE(totals, std::string::npos) << report;
    // Base, ideal, worst and chosen of the farmer, the town and the union: X at +3 gives 1, at
    // -3 gives -1; the town and the union have no goal.
    const std::string utility = report.substr(totals, report.find("</tr>", totals) - totals);
    EXPECT_EQ(CellTexts(utility),
              (Texts{"0", "1", "-1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    // The goal columns of the outcome tables appear once per perception.
    const std::size_t details = report.find("Detailed analysis");
    ASSERT_NE(details, std::string::npos);
    const std::string detail = report.substr(details);
    EXPECT_EQ(detail.find("gif/u") != std::string::npos, true);
    EXPECT_EQ(detail.find("gif/u", detail.find("gif/u") + 1), std::string::npos);
}

TEST_F(StrategyAnalysesTest, TacticTablesOverAnEmptyPerception) {
    for (const char* title : {"Rating of Tactics", "Multi-Criteria Analysis"}) {
        const std::string report = Report(title);
        EXPECT_TRUE(test::Balanced(report)) << title;
        EXPECT_TRUE(Contains(report, "r-3-1.gif")) << title;
    }
}

TEST_F(StrategyAnalysesTest, TiedStrategiesBeyondTheKeptOnesCount) {
    // Five actions that reach no goal: all 7^5 = 16807 strategies tie, 10,000 are kept.
    test::TPerceptionBuilder tied(Case, "Mill");
    tied.Perception->Add(
        std::make_unique<TGoal>(tied.Factor("G"), TLevels<std::int8_t>{{-3, -2, -1, 0, 1, 2, 3}}));
    std::vector<TFiP*> actions;
    for (const char* name : {"A1", "A2", "A3", "A4", "A5"}) {
        actions.push_back(tied.Action(name));
    }
    Case.Evaluations = 100000;
    TInferredStrategies inferred("Inferred Strategies", TAnalysisFamily::afActor);
    Fields(inferred, 6);
    Select(inferred, {1});
    Cell(inferred, {actions[0]->Factor}, {tied.Perception});
    ASSERT_EQ(tied.Perception->BestStrategy->BestStrategies.size(), 10000U);
    EXPECT_EQ(tied.Perception->BestStrategy->BestTies, 16807U);
    EXPECT_EQ(inferred.ValueCells(), "<td class=\"sn\">1<img src=\"gif/r0-1.gif\"> (+16806)</td>");
    // The full set lists the kept strategies and counts the rest.
    Select(inferred, {1, 5});
    const std::string full = inferred.ValueCells();
    EXPECT_TRUE(Contains(full, "10000<img")) << full.substr(full.size() - 100);
    EXPECT_TRUE(Contains(full, "> (+6807)</td>")) << full.substr(full.size() - 100);
}

}  // namespace
}  // namespace kavo
