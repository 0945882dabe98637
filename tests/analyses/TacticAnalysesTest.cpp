#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/TMCA.h"
#include "analyses/TTacticRating.h"
#include "model/TFactor.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;
using test::CellTexts;

// Utility vectors over the levels -3..+3; with the default utility levels, 2 is worth 0.5 and -1
// is worth -0.25.
TLevels<std::int8_t> Vector(std::initializer_list<int> values) {
    TLevels<std::int8_t> levels;
    int level = kMinLevel;
    for (const int value : values) {
        levels[level++] = static_cast<std::int8_t>(value);
    }
    return levels;
}

class TacticAnalysesTest : public test::AnalysisTest {
  protected:
    TGoal* CustomGoal(TFiP* fip, std::initializer_list<int> utilities) {
        TPerception& perception = *fip->Perception;
        perception.Add(std::make_unique<TGoal>(fip, Vector(utilities)));
        return perception.Goals.back().get();
    }
    template <typename T>
    void Fields(T& analysis, int count) {
        for (int i = 0; i < count; ++i) {
            analysis.AddField("field", TFieldKind::fkMean);
        }
        analysis.Run = &Run;
    }

    test::TPerceptionBuilder First{Case, "Farmer"};
    test::TPerceptionBuilder Second{Case, "Town"};
    test::TPerceptionBuilder Third{Case, "Union"};
    TPerception* One = First.Perception;
    TPerception* Two = Second.Perception;
    TPerception* Empty = Third.Perception;
};

TEST_F(TacticAnalysesTest, RatingSumsTheGoalsOfEveryPerceptionInTheColumn) {
    // X reaches two goals in the first perception and one in the second, each worth 0.5 at +1.
    TFiP* x = First.Action("X");
    First.Link(x, First.Factor("A"));
    First.Link(x, First.Factor("B"));
    CustomGoal(First.Factor("A"), {0, 0, 0, 0, 2, 0, 0});
    CustomGoal(First.Factor("B"), {0, 0, 0, 0, 2, 0, 0});
    TFiP* x2 = Second.Show(x->Factor);
    Second.Link(x2, Second.Factor("A"));
    CustomGoal(Second.Factor("A"), {-3, 0, 0, 0, 2, 0, 0});
    TTacticRating rating("Rating of Tactics", TAnalysisFamily::afFactor);
    Fields(rating, 5);
    SelectAll(rating);
    const auto cells = [&](int level, std::vector<TPerception*> columns) {
        rating.TacticChange = level;
        return Cell(rating, {x->Factor}, std::move(columns));
    };
    // Equal certain ratings show no spread; the goals are all reached at +1, none at 0.
    EXPECT_EQ(cells(1, {One, Two}), (Texts{"3", "1.5", "0", "100%", "0%"}));
    EXPECT_EQ(cells(0, {One, Two}), (Texts{"3", "0", "0", "0%", "0%"}));
    // At -3 one goal of three loses 1: a spread around the average -1/3.
    EXPECT_EQ(cells(-3, {One, Two})[1], "-1");
    EXPECT_EQ(cells(-3, {One, Two})[2], "0.47");
    // A perception without the action is skipped; one without goals counts its certain 0.
    EXPECT_EQ(cells(1, {Empty}), (Texts{"0", "0", "0", "0%", "0%"}));
    Third.Show(x->Factor);
    EXPECT_EQ(cells(1, {Two, Empty})[0], "1");
    EXPECT_EQ(cells(1, {Two, Empty})[1], "0.50");
}

TEST_F(TacticAnalysesTest, MultiCriteriaAveragesTheGoalsOnOneFactor) {
    TFiP* x = First.Action("X");
    First.Link(x, First.Factor("G"));
    CustomGoal(First.Factor("G"), {-1, -1, 0, 0, 1, 1, 2});
    TFiP* x2 = Second.Show(x->Factor);
    Second.Link(x2, Second.Factor("G"));
    CustomGoal(Second.Factor("G"), {0, 0, 0, 0, 1, 2, 2});
    TMCA mca("Multi-Criteria Analysis", TAnalysisFamily::afActor);
    Fields(mca, 4);
    SelectAll(mca);
    mca.TacticChange = 1;
    mca.RowFactors = {x->Factor};
    mca.ColumnPerceptions = {One, Two};
    const std::string html = mca.ValueCells();
    // Sums (-1, -1, 0, 0, 2, 3, 4) over two goals, halves to even.
    EXPECT_NE(html.find("gif/u0000122.gif"), std::string::npos) << html;
    // The name columns come once, in the first cell; both goals are worth 0.25 at +1.
    EXPECT_EQ(CellTexts(html), (Texts{"", "G", "", "", "0.50", "Sum: 0.50", "0"}));
    EXPECT_TRUE(test::Balanced(html));
}

TEST_F(TacticAnalysesTest, MultiCriteriaSumSplitsIntoGainsAndLosses) {
    struct Example {
        int UtilityOfB;
        std::string SumRow;
    };
    const std::vector<Example> cases = {
        {-1,
         "<td colspan=\"3\"><table border=\"0\" width=\"100%\"><tr><td align=\"right\" "
         "bgcolor=\"lime\"><b>Sum: 0.25</b></td><td bgcolor=\"yellow\">+0.50&nbsp;<img "
         "src=\"gif/topos.gif\" align=\"absbottom\">&nbsp;<nobr>-0.25</nobr></td></tr></table>"},
        {0,
         "<td colspan=\"3\"><table border=\"0\" width=\"100%\"><tr><td align=\"right\" "
         "bgcolor=\"lime\"><b>Sum: 0.50</b></td></tr></table>"},
        {-2,
         "<td colspan=\"3\"><table border=\"0\" width=\"100%\"><tr><td align=\"right\" "
         "bgcolor=\"silver\"><b>Sum: 0</b></td><td bgcolor=\"yellow\">+0.50&nbsp;<img "
         "src=\"gif/tozero.gif\" align=\"absbottom\">&nbsp;<nobr>-0.50</nobr></td></tr></table>"},
    };
    for (const Example& c : cases) {
        // Each example in a perception of its own.
        const std::string n = std::to_string(c.UtilityOfB);
        test::TPerceptionBuilder builder(Case,
                                         std::string(1, static_cast<char>('K' - c.UtilityOfB)));
        TFiP* x = builder.Action("X" + n);
        TFiP* a = builder.Factor("A" + n);
        TFiP* b = builder.Factor("B" + n);
        builder.Link(x, a);
        builder.Link(x, b);
        CustomGoal(a, {0, 0, 0, 0, 2, 0, 0});
        CustomGoal(b, {0, 0, 0, 0, c.UtilityOfB, 0, 0});
        TMCA mca("Multi-Criteria Analysis", TAnalysisFamily::afActor);
        Fields(mca, 4);
        Select(mca, {TMCA::fUtility});
        mca.TacticChange = 1;
        mca.RowFactors = {x->Factor};
        mca.ColumnPerceptions = {builder.Perception};
        const std::string html = mca.ValueCells();
        EXPECT_NE(html.find(c.SumRow), std::string::npos) << c.UtilityOfB << "\n" << html;
    }
}

TEST_F(TacticAnalysesTest, MultiCriteriaWithoutGoalsWritesEmptyTables) {
    TFiP* x = First.Action("X");
    First.Link(x, First.Factor("A"));
    Second.Factor("A");
    TMCA mca("Multi-Criteria Analysis", TAnalysisFamily::afActor);
    Fields(mca, 4);
    SelectAll(mca);
    mca.TacticChange = 2;
    mca.RowFactors = {x->Factor};
    for (const std::vector<TPerception*>& columns :
         {std::vector<TPerception*>{One}, {Two}, {Empty}, {One, Two, Empty}}) {
        mca.ColumnPerceptions = columns;
        EXPECT_EQ(mca.ValueCells(),
                  "<td valign=\"top\"><table width=\"100%\"></table></td>"
                  "<td valign=\"top\"><table width=\"100%\"></table></td>"
                  "<td valign=\"bottom\"><table width=\"100%\"></table></td>"
                  "<td valign=\"top\"><table width=\"100%\"></table></td>");
    }
}

}  // namespace
}  // namespace kavo
