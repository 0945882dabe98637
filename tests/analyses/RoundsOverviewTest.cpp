#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TRoundsOverview.h"
#include "model/Formats.h"
#include "model/TArena.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/GoalEvaluation.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;
using test::CellTexts;

// The farmer's goal on Harvest in an ordinary arena and in rounds 0 to 2; each round's analyst
// view holds the round values of Harvest (and of Rain, which round 2 lacks).
class RoundsOverviewTest : public test::AnalysisTest {
  protected:
    RoundsOverviewTest() {
        test::TPerceptionBuilder(Case, "Farmer", "Valley").Factor("Harvest");
        Overview = static_cast<TRoundsOverview*>(Catalog.Find("Overview of rounds"));
        Modes(3, 3, 3);
    }

    void Modes(int arena, int actor, int factor) {
        Run.Grouping.ArenaGrouping = static_cast<std::uint8_t>(arena);
        Run.Grouping.ActorGrouping = static_cast<std::uint8_t>(actor);
        Run.Grouping.FactorGrouping = static_cast<std::uint8_t>(factor);
    }
    // A round with the farmer's goal +2 on Harvest, and the round values of the analyst view.
    TGoal* Round(const std::string& name, double harvest, double pending, bool rain = true) {
        test::TPerceptionBuilder farmer(Case, "Farmer", name);
        TGoal* goal = farmer.Goal(farmer.Factor("Harvest"), 2);
        farmer.Action("Irrigate");
        TArena* arena = Case.FindOrCreateArena(name);
        TFiP* state = Show(*arena, "Harvest");
        state->RoundValue = harvest;
        state->PendingChange = pending;
        if (rain) {
            farmer.Factor("Rain");
            Show(*arena, "Rain")->RoundValue = 1;
        }
        return goal;
    }
    TFiP* Show(TArena& arena, const std::string& factor) {
        TPerception& view = *arena.AnalystView;
        const int index = view.Add(std::make_unique<TFiP>(Case.FindOrCreateFactor(factor)));
        return view.FiPs[static_cast<std::size_t>(index)].get();
    }
    std::string Output() {
        std::ostringstream out;
        TAnalysisReport(Catalog, Run, [] {
            return std::string("2024-05-06 07:08:09");
        }).RunAnalysis(*Overview, out);
        return out.str();
    }
    // The cells of the table's row that begins with the caption.
    Texts Row(const std::string& caption) {
        std::istringstream lines(Output());
        for (std::string line; std::getline(lines, line);) {
            const Texts cells = CellTexts(line);
            if (line.starts_with("  <tr><th>") && cells.size() > 1 && cells[1] == caption) {
                return Texts(cells.begin() + 2, cells.end());
            }
        }
        return {};
    }

    TAnalysisCatalog Catalog;
    TRoundsOverview* Overview;
};

TEST_F(RoundsOverviewTest, ErrorsInsteadOfTheTable) {
    const std::string noRound =
        "<p class=err>At least one simulation round is needed for this overview.</p>";
    const std::string grouped = "<p class=err>Arenas must be ungrouped for this overview.</p>";
    EXPECT_NE(Output().find(noRound), std::string::npos);
    Round("*Round  0", 0, 0);
    struct {
        int ArenaMode;
        std::string Expected;
    } const cases[] = {{0, grouped}, {1, grouped}, {3, "<table"}, {4, "<table"}};
    for (const auto& c : cases) {
        Modes(c.ArenaMode, 3, 3);
        Overview->PlotRequested = false;
        const std::string output = Output();
        EXPECT_NE(output.find(c.Expected), std::string::npos) << c.ArenaMode;
        EXPECT_EQ(Overview->PlotRequested, c.Expected == "<table") << c.ArenaMode;
    }
}

TEST_F(RoundsOverviewTest, RoundValuesAndWhatTheGoalsMakeOfThem) {
    Round("*Round  0", 0, 0);
    TGoal* goal = Round("*Round  1", 5, 1);
    Round("*Round  2", -2.5, 0, false);
    const auto utility = [goal](double change) { return FormatNumber(UtilityOf(*goal, change)); };
    // Change and pending change in percent of the base level 10, and the utility.
    EXPECT_EQ(Row("Harvest"), (Texts{"0%", "0%", utility(0), "50%", "10%", utility(5), "-25%", "0%",
                                     utility(-2.5)}));
    // No goal on Rain; in round 2, where Rain is missing, the cell keeps 0.
    EXPECT_EQ(Row("Rain"), (Texts{"10%", "0%", "0", "10%", "0%", "0", "0%", "0%", "0"}));
    // Rows headed by an action are left out.
    EXPECT_TRUE(Row("Irrigate [F]").empty());

    test::AnalysisTest::Select(*Overview,
                               {TRoundsOverview::fAffectedGoals, TRoundsOverview::fSatisfaction});
    const std::string satisfied = FormatPercent(SatisfactionOf(*goal, 5));
    EXPECT_EQ(Row("Harvest"), (Texts{"1", FormatPercent(SatisfactionOf(*goal, 0)), "1", satisfied,
                                     "1", FormatPercent(SatisfactionOf(*goal, -2.5))}));
    EXPECT_EQ(Row("Rain"), (Texts{"0", "-", "0", "-", "0", "-"}));
}

TEST_F(RoundsOverviewTest, AGroupOfFactorsHasNoChange) {
    Round("*Round  0", 0, 0);
    Round("*Round  1", 5, 1);
    Modes(3, 3, 0);
    const std::string output = Output();
    EXPECT_TRUE(test::Balanced(output));
    std::istringstream lines(output);
    Texts rows;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  <tr><th>")) {
            const Texts cells = CellTexts(line);
            rows.insert(rows.end(), cells.begin() + 2, cells.end());
        }
    }
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "-");
    EXPECT_EQ(rows[1], "-");
    EXPECT_EQ(rows[3], "-");
    EXPECT_EQ(rows[4], "-");
}

}  // namespace
}  // namespace kavo
