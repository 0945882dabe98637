#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "analyses/TQuickAnalysis.h"
#include "diagram/DiagramFixture.h"
#include "model/TLevels.h"
#include "support/TPerceptionBuilder.h"
#include "support/TRecordingCanvas.h"
#include "support/TestPlatform.h"

namespace kavo::test {
namespace {

// The farmer's perception: the subsidy (his action) raises irrigation, which raises the yield he
// wants up; rain, which he expects to rise, raises the yield a little.
class QuickAnalysisTest : public ::testing::Test, public TCaseFixture {
  protected:
    QuickAnalysisTest() {
        Subsidy = Build.Action("Subsidy");
        Irrigation = Build.Factor("Irrigation");
        Yield = Build.Factor("Yield");
        Rain = Build.Factor("Rain");
        SubsidyLink = Build.Link(Subsidy, Irrigation, 2);
        Build.Link(Irrigation, Yield, 3);
        Build.Link(Rain, Yield, 1);
        Build.Prospect(Rain, 2);
        Build.Goal(Yield, 2);
        Perception().Selection.clear();
    }

    TPerception& Perception() { return *Build.Perception; }

    TPerceptionBuilder Build{Case};
    TQuickAnalysis Quick{Measure, TFont{}};
    TFiP* Subsidy;
    TFiP* Irrigation;
    TFiP* Yield;
    TFiP* Rain;
    TLink* SubsidyLink;
};

TEST_F(QuickAnalysisTest, InfluenceOfTheFactorUnderThePointerOnEachSelectedFactor) {
    Quick.Influence = true;
    Perception().Selection = {Yield, SubsidyLink, Rain};
    Quick.Explain(Perception(), Subsidy, kNoLevel, nullptr);
    // Multipliers 1 and 2: certainly 2, level +3. Rain cannot be reached: no histogram.
    EXPECT_EQ(Quick.Lines(), (std::vector<std::string>{
                                 "1 path from Subsidy [F] to Yield",
                                 "Total influence: ", " - vector: (0, 0, 0, 0, 0, 0, 1)",
                                 " - proval: [(1, 2)]", "No path from Subsidy [F] to Rain"}));
    const auto& marks = Quick.Marks();
    EXPECT_EQ(marks[0], TQuickMark(TQuickText{{0, 0}, "1 path", {}}));
    EXPECT_EQ(marks[2], TQuickMark(TQuickText{{72, 0}, "Subsidy ", {0, 0, 128}}));
    EXPECT_EQ(marks[3], TQuickMark(TQuickText{{120, 0}, "[F]", {128, 0, 128}}));
    // A line is 13 high; the histogram line is 4 pixels higher, its icon 2 above the text.
    EXPECT_EQ(marks[6], TQuickMark(TQuickText{{0, 15}, "Total influence: ", {}}));
    ASSERT_TRUE(std::holds_alternative<TQuickHistogram>(marks[7]));
    EXPECT_EQ(std::get<TQuickHistogram>(marks[7]).At, (TPoint{102, 13}));
    EXPECT_EQ(std::get<TQuickHistogram>(marks[7]).Vector[3], 1.0);
    EXPECT_EQ(marks[8], TQuickMark(TQuickText{{0, 30}, " - vector: (0, 0, 0, 0, 0, 0, 1)", {}}));
    EXPECT_EQ(Quick.Bottom(), 69);
}

TEST_F(QuickAnalysisTest, ExplainsNothingWithoutSwitchesOrWithoutSelection) {
    Quick.Influence = true;
    Quick.Explain(Perception(), Subsidy, kNoLevel, nullptr);
    EXPECT_TRUE(Quick.Marks().empty());
    Quick.Influence = false;
    Perception().Selection = {Yield};
    Quick.Explain(Perception(), Subsidy, 2, nullptr);
    EXPECT_TRUE(Quick.Marks().empty());
    EXPECT_EQ(Quick.Right(), 0);
    EXPECT_EQ(Quick.Bottom(), 0);
}

TEST_F(QuickAnalysisTest, NoiseThatTheProspectsCauseAtTheFactor) {
    Quick.Noise = true;
    Quick.Explain(Perception(), Yield, kNoLevel, nullptr);
    // Rain rises by 2, through a link of multiplier 0.5.
    EXPECT_EQ(Quick.Lines(), (std::vector<std::string>{"Noise due to 1 prospect on Yield",
                                                       " - vector: (0, 0, 0, 0, 1, 0, 0)",
                                                       " - proval: [(1, 1)]"}));
    Quick.Explain(Perception(), Subsidy, kNoLevel, nullptr);
    EXPECT_TRUE(Quick.Lines().empty());
}

TEST_F(QuickAnalysisTest, EffectOfTheActionLevelUnderThePointerOnTheGoals) {
    Quick.USF = true;
    Quick.Explain(Perception(), Subsidy, kNoLevel, nullptr);
    EXPECT_TRUE(Quick.Lines().empty());
    Quick.Explain(Perception(), Subsidy, 2, nullptr);
    ASSERT_EQ(Quick.Lines().size(), 4u);
    // The yield rises to +3, one above the goal's level: utility 1 (of the top level's 4) where
    // the goal's level would bring 2.
    EXPECT_EQ(Quick.Lines()[0],
              "Effect of +2 Subsidy [F] on 1 goal: 0.25U, 50% satisfaction, 0% frustration");
    EXPECT_TRUE(Quick.Lines()[1].starts_with(" - utility proval: ["));
    EXPECT_TRUE(Quick.Lines()[2].starts_with(" - satisfaction proval: ["));
    EXPECT_TRUE(Quick.Lines()[3].starts_with(" - frustration proval: ["));
    // The level's range cell follows "Effect of ", a little lower.
    EXPECT_EQ(Quick.Marks()[1], TQuickMark(TQuickRangeCell{{60, 2}, 2}));
}

TEST_F(QuickAnalysisTest, LinkUnderThePointer) {
    Quick.Explain(Perception(), nullptr, kNoLevel, SubsidyLink);
    EXPECT_EQ(Quick.Lines(),
              (std::vector<std::string>{"Link at cursor: ", " - vector: (0, 0, 0, 0, 0, 1, 0)",
                                        " - proval: [(1, 1)]"}));
}

TEST_F(QuickAnalysisTest, BestAndWorstStrategiesWithTheirLevels) {
    Quick.Strategies = true;
    Quick.Explain(Perception(), nullptr, kNoLevel, nullptr);
    // Level +1 brings the yield to +2 with the rain, the goal's level; every lowering is worst,
    // least action first.
    EXPECT_EQ(Quick.Lines(), (std::vector<std::string>{"Best strategy: +1 Subsidy [F]",
                                                       "3 worst strategies: -1 Subsidy [F]",
                                                       " - -2 Subsidy [F]", " - -3 Subsidy [F]"}));
    EXPECT_TRUE(Perception().ResultsValid[TPerception::StrategiesFound]);
}

TEST_F(QuickAnalysisTest, ConflictsBetweenTheShownAndTheHoveredPerception) {
    Quick.Conflicts = true;
    TPerception& analyst = *Build.Arena->AnalystView;
    Quick.ExplainConflicts(Perception(), analyst);
    const std::vector<std::string> lines = Quick.Lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0],
              "Conflicting goals in perception of \"Farmer\" and *Analyst view on "
              "\"Water\"");
    EXPECT_EQ(lines[1], "- conflict = 0.00, # shared = 0 []");
    EXPECT_EQ(lines[2].substr(0, 25), "Conflicting causal links ");
    EXPECT_EQ(lines[4].substr(0, 22), "Conflicting prospects ");
    EXPECT_EQ(lines[6].substr(0, 20), "Conflicting actions ");
    // Drawn with four decimals; the actor's name in purple, the arena's in blue.
    EXPECT_TRUE(LogContains(
        [&] {
            TRecordingCanvas canvas;
            Quick.Draw(canvas);
            return canvas.Log;
        }(),
        "text * - conflict = 0.0000, # shared = 0 []"));
    EXPECT_EQ(Quick.Marks()[2], TQuickMark(TQuickText{{210, 0}, "\"Farmer\"", {128, 0, 128}}));
}

TEST_F(QuickAnalysisTest, ConflictsCountSharedItems) {
    Quick.Conflicts = true;
    TPerceptionBuilder other(Case, "Miller", "Water");
    TFiP* yield = other.Factor("Yield");
    other.Goal(yield, -2);
    Quick.ExplainConflicts(Perception(), *other.Perception);
    EXPECT_TRUE(std::regex_match(
        Quick.Lines()[1], std::regex(R"(- conflict = [0-9]\.[0-9]{2}, # shared = 1 \[Yield\])")))
        << Quick.Lines()[1];
}

// What was explained may be cut or deleted at once; the pane draws and copies what it recorded.
TEST_F(QuickAnalysisTest, DrawsWhatItRecordedAfterTheItemsAreGone) {
    Quick.Influence = true;
    Perception().Selection = {Yield};
    Quick.Explain(Perception(), Subsidy, kNoLevel, SubsidyLink);
    const std::string text = Quick.Text();
    Perception().Remove(Subsidy);
    Perception().Remove(Yield);
    TRecordingCanvas canvas;
    Quick.Draw(canvas);
    EXPECT_TRUE(LogHas(canvas.Log, {"text (0,2) Link at cursor: ", "fill *", "text * 1 path"}));
    EXPECT_EQ(Quick.Text(), text);
}

TEST_F(QuickAnalysisTest, ResultsFromASampleOfUncertainValuesSaySo) {
    // Thirteen uncertain prospects reach the yield: more than 4096 combinations of their values.
    for (int i = 0; i < 13; ++i) {
        TFiP* source = Build.Factor("Source " + std::to_string(i));
        Build.Prospect(source, 1, 1);
        Build.Link(source, Yield, 2);
    }
    Perception().Selection.clear();
    Quick.Noise = true;
    Quick.Explain(Perception(), Yield, kNoLevel, nullptr);
    ASSERT_FALSE(Quick.Lines().empty());
    EXPECT_TRUE(std::regex_match(Quick.Lines().back(),
                                 std::regex(R"(\(estimated on 4096 of [0-9]+ combinations of )"
                                            R"(uncertain values\))")))
        << Quick.Lines().back();
}

}  // namespace
}  // namespace kavo::test
