#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyses/AnalysisFixture.h"
#include "analyses/TCausalRelations.h"
#include "analyses/TConnectivity.h"
#include "analyses/TControllability.h"
#include "analyses/TRelevance.h"
#include "model/TFactor.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"
#include "support/TPerceptionBuilder.h"

namespace kavo {
namespace {

using Texts = std::vector<std::string>;
using test::CellTexts;

// Three actors' perceptions of one arena; the third is empty.
class FactorAnalysesTest : public test::AnalysisTest {
  protected:
    TGoal* CustomGoal(TFiP* fip, TLevels<std::int8_t> utilities) {
        TPerception& perception = *fip->Perception;
        perception.Add(std::make_unique<TGoal>(fip, utilities));
        return perception.Goals.back().get();
    }

    test::TPerceptionBuilder First{Case, "Farmer"};
    test::TPerceptionBuilder Second{Case, "Town"};
    test::TPerceptionBuilder Third{Case, "Union"};
    TPerception* One = First.Perception;
    TPerception* Two = Second.Perception;
    TPerception* Empty = Third.Perception;
};

TEST_F(FactorAnalysesTest, Relevance) {
    // Stakes 1 and 0.5, interests 28/48 and 21/48, priorities 3 and 3.
    TFiP* a = First.Factor("A");
    CustomGoal(a, {{-3, -2, -1, 0, 1, 2, 3}});
    First.Factor("B");
    CustomGoal(Second.Factor("A"), {{0, 0, 0, 0, 1, 2, 3}});
    TFactor* b = Case.FindOrCreateFactor("B");
    TFactor* c = Case.FindOrCreateFactor("C");
    TRelevance relevance("Relevance", TAnalysisFamily::afFactor);
    for (const char* name :
         {"Occurrences", "Occ / actor", "Goals", "Goals / actor", "Total priority", "Avg. priority",
          "Total stake", "Avg. stake", "Total interest", "Avg. interest"}) {
        relevance.AddField(name, TFieldKind::fkCount);
    }
    SelectAll(relevance);
    struct TCase {
        std::vector<TFactor*> Rows;
        std::vector<TPerception*> Columns;
        Texts Cells;
    };
    const TCase cases[] = {
        {{a->Factor},
         {One, Two, Empty},
         {"2", "100%", "2", "100%", "6", "3", "1.5", "0.75", "1.0", "0.51"}},
        {{b}, {One, Two, Empty}, {"1", "50%", "0", "0%", "0", "-", "0", "-", "0", "-"}},
        {{a->Factor, b}, {One}, {"2", "200%", "1", "100%", "3", "3", "1", "1", "0.58", "0.58"}},
        {{c}, {One, Two}, {"0", "0%", "0", "0%", "0", "-", "0", "-", "0", "-"}},
        // An empty perception counts for nothing.
        {{a->Factor}, {Empty}, {"0", "-", "0", "-", "0", "-", "0", "-", "0", "-"}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Cell(relevance, c.Rows, c.Columns), c.Cells);
    }
    Select(relevance, {TRelevance::fGoals, TRelevance::fAvgStake});
    EXPECT_EQ(Cell(relevance, {a->Factor}, {One, Two}), (Texts{"2", "0.75"}));
}

TEST_F(FactorAnalysesTest, ConnectivityCountsLinksAndPaths) {
    // Paths of the first: A>B, A>B>C, A>C, B>C; three of them visit B.
    TFiP* a = First.Factor("A");
    TFiP* b = First.Factor("B");
    TFiP* c = First.Factor("C");
    First.Link(a, b);
    First.Link(b, c);
    First.Link(a, c);
    Second.Link(Second.Factor("A"), Second.Factor("B"));
    TConnectivity connectivity("Connectivity", TAnalysisFamily::afFactor);
    for (int i = 0; i < 8; ++i) {
        connectivity.AddField("field", TFieldKind::fkCount);
    }
    SelectAll(connectivity);
    EXPECT_EQ(Cell(connectivity, {b->Factor}, {One, Two, Empty}),
              (Texts{"2", "0.67", "1", "0.33", "3", "1", "4", "1.3"}));
    EXPECT_EQ(Cell(connectivity, {a->Factor, c->Factor}, {One}),
              (Texts{"2", "2", "2", "2", "4", "4", "6", "6"}));
    EXPECT_EQ(Cell(connectivity, {b->Factor}, {}), (Texts{"0", "-", "0", "-", "0", "-", "0", "-"}));
    // Without a path field the perceptions are not inferred.
    Select(connectivity, {TConnectivity::fLinks});
    TPerception* third = Third.Perception;
    Third.Link(Third.Factor("A"), Third.Factor("B"));
    EXPECT_EQ(Cell(connectivity, {b->Factor}, {third}), Texts{"1"});
    EXPECT_FALSE(third->ResultsValid[TPerception::Inferred]);
}

// The paths of an inferred perception are what its impacts refer to: counting must not rebuild
// them (a rebuild drops the impacts).
TEST_F(FactorAnalysesTest, ConnectivityKeepsThePathsOfAnInferredPerception) {
    TFiP* a = First.Factor("A");
    TFiP* b = First.Factor("B");
    First.Link(a, b);
    InferInfluences(*One);
    TConnectivity connectivity("Connectivity", TAnalysisFamily::afFactor);
    for (int i = 0; i < 8; ++i) {
        connectivity.AddField("field", TFieldKind::fkCount);
    }
    Select(connectivity, {TConnectivity::fPaths});
    EXPECT_EQ(Cell(connectivity, {b->Factor}, {One}), Texts{"1"});
    EXPECT_TRUE(One->ResultsValid[TPerception::Inferred]);
    const TImpact* impact = ImpactBetween(*One, a, b);
    ASSERT_NE(impact, nullptr);
    ASSERT_EQ(One->Paths.size(), 1u);
    EXPECT_EQ(impact->Paths, std::vector<TPath>{One->Paths[0]});
}

TEST_F(FactorAnalysesTest, ControllabilityOfProspectsAndActions) {
    // A certain rise of +2 reaches T through a link of multiplier 1; action X reaches it with
    // multiplier 2.
    TFiP* r = First.Factor("R");
    TFiP* t = First.Factor("T");
    TFiP* x = First.Action("X");
    First.Prospect(r, 2);
    First.Link(r, t, 2);
    First.Link(x, t, 3);
    TControllability controllability("Controllability", TAnalysisFamily::afFactor);
    for (const TFieldKind kind :
         {TFieldKind::fkCount, TFieldKind::fkProVal, TFieldKind::fkCount, TFieldKind::fkProVal}) {
        controllability.AddField("field", kind);
    }
    SelectAll(controllability);
    const auto cells = [&](TFiP* row, std::vector<TPerception*> columns) {
        controllability.Run = &Run;
        controllability.RowFactors = {row->Factor};
        controllability.ColumnPerceptions = std::move(columns);
        controllability.Compute();
        return controllability.ValueCells();
    };
    EXPECT_EQ(cells(t, {One}),
              "<td align=\"right\">1</td><td align=\"center\"><img src=\"gif/h0h0h0h0h0h12h0.gif\">"
              "</td><td align=\"right\">1</td><td align=\"center\"><img "
              "src=\"gif/h0h0h0h0h0h0h12.gif\"></td>");
    // Nothing reaches R: no prospect, a noise of certain 0, and no action.
    EXPECT_EQ(CellTexts(cells(r, {One})), (Texts{"0", "", "0", ""}));
    EXPECT_NE(cells(r, {One}).find("h0h0h0h12h0h0h0"), std::string::npos);
    // With a perception in which T stays put, the noise is half +2 and half 0.
    Second.Factor("T");
    EXPECT_NE(cells(t, {One, Two}).find("h0h0h0h8h0h8h0"), std::string::npos);
    EXPECT_EQ(Icons.Written.front(), "icons/h0h0h0h0h0h12h0");
}

TEST_F(FactorAnalysesTest, CausalRelationsAverageTheImpacts) {
    // A and B feed each other: A reaches itself around the cycle.
    TFiP* a = First.Factor("A");
    TFiP* b = First.Factor("B");
    First.Link(a, b, 2);
    First.Link(b, a, 2);
    Second.Link(Second.Factor("A"), Second.Factor("B"), 3);
    TCausalRelations relations("Perceived Causal Relations", TAnalysisFamily::afActor);
    for (const TFieldKind kind :
         {TFieldKind::fkCount, TFieldKind::fkMean, TFieldKind::fkStdDev, TFieldKind::fkProVal}) {
        relations.AddField("field", kind);
    }
    SelectAll(relations);
    const auto cells = [&](TFiP* cause, TFiP* effect, std::vector<TPerception*> columns) {
        relations.Run = &Run;
        relations.RowFactors = {cause->Factor};
        relations.EffectFactors = {effect->Factor};
        relations.ColumnPerceptions = std::move(columns);
        relations.Compute();
        return relations.ValueCells();
    };
    EXPECT_EQ(CellTexts(cells(a, a, {One})), (Texts{"1", "1", "0", ""}));
    EXPECT_NE(cells(a, a, {One}).find("h0h0h0h0h0h12h0"), std::string::npos);
    EXPECT_EQ(CellTexts(cells(a, b, {One, Two})), (Texts{"2", "1.5", "0.50", ""}));
    EXPECT_NE(cells(a, b, {One, Two}).find("h0h0h0h0h0h8h8"), std::string::npos);
    EXPECT_EQ(CellTexts(cells(b, a, {Two, Empty})), (Texts{"0", "0", "0", ""}));
}

}  // namespace
}  // namespace kavo
