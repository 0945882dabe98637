#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyses/TAnalysisCatalog.h"
#include "casefile/CaseFileFixture.h"

namespace kavo {
namespace {

using Lines = std::vector<std::string>;

TEST(CatalogTest, EntriesInOrderWithTheirFamiliesAndTables) {
    const TAnalysisCatalog catalog;
    struct TEntry {
        const char* Title;
        TAnalysisFamily Family;
        int ImageIndex;
        int RowHeaderColumns;
        std::size_t Fields;
    };
    using enum TAnalysisFamily;
    const TEntry entries[] = {
        {"Relevance", afFactor, 17, 2, 10},
        {"Connectivity and centrality", afFactor, 17, 2, 8},
        {"Controllability", afFactor, 17, 2, 4},
        {"Rating of Tactics", afFactor, 18, 3, 5},
        {"Perceived Causal Relations", afActor, 14, 4, 4},
        {"Multi-Criteria Analysis", afActor, 18, 3, 4},
        {"Single Goal Strategies", afActor, 14, 2, 6},
        {"Inferred Strategies", afActor, 17, 2, 6},
        {"Overview of rounds", afCase, 17, 2, 7},
        {"Support and Opposition", afArena, 10, 4, 7},
        {"Similarity of Perceived Causality", afArena, 10, 4, 6},
        {"Conflict", afArena, 10, 4, 9},
        {"Resource Dependency", afArena, 10, 4, 15},
        {"Issue Linkage", afCase, 6, 2, 9},
    };
    ASSERT_EQ(catalog.Analyses.size(), std::size(entries));
    for (std::size_t i = 0; i < catalog.Analyses.size(); ++i) {
        const TAnalysis& analysis = *catalog.Analyses[i];
        EXPECT_EQ(analysis.Title, entries[i].Title);
        EXPECT_EQ(analysis.Family, entries[i].Family) << analysis.Title;
        EXPECT_EQ(analysis.ImageIndex, entries[i].ImageIndex) << analysis.Title;
        EXPECT_EQ(analysis.RowHeaderColumns, entries[i].RowHeaderColumns) << analysis.Title;
        EXPECT_EQ(analysis.Fields.size(), entries[i].Fields) << analysis.Title;
        EXPECT_FALSE(analysis.Selected);
        EXPECT_FALSE(analysis.Description.empty());
    }
    EXPECT_EQ(catalog.Find("Similarity of Perceived Causality")->GraphReversed, true);
    EXPECT_EQ(catalog.Find("Conflict")->GraphReversed, false);
    EXPECT_EQ(catalog.Find("Controllability")->FieldAt(1).Name, "\"Noise\" due to prospects");
    EXPECT_EQ(catalog.Find("Controllability")->FieldAt(1).Kind, TFieldKind::fkProVal);
    EXPECT_EQ(catalog.Find("Perceived Causal Relations")->RowHeaderCells,
              "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Cause</th>"
              "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Effect</th>");
    EXPECT_EQ(catalog.Find("Nothing"), nullptr);
}

TEST(CatalogTest, OnlyAnalysesThatRunWithASelectedFieldKeepALine) {
    TAnalysisCatalog catalog;
    // The defaults check fields, but no analysis.
    EXPECT_TRUE(catalog.SelectionLines().empty());
    catalog.Find("Relevance")->Selected = true;
    catalog.Find("Conflict")->Selected = true;
    catalog.Find("Resource Dependency")->Selected = true;
    EXPECT_EQ(catalog.SelectionLines(),
              (Lines{"<meta name=\"KAVO analysis 0\" content=\"Relevance=1010010101\">",
                     "<meta name=\"KAVO analysis 11\" content=\"Conflict=010101011\">"}));
    catalog.FamilySelected[static_cast<std::size_t>(catalog.Find("Relevance")->Family)] = false;
    EXPECT_EQ(catalog.SelectionLines(),
              Lines{"<meta name=\"KAVO analysis 11\" content=\"Conflict=010101011\">"});
}

TEST(CatalogTest, ReadingALineSetsTheFieldsItCoversAndSelectsTheAnalysis) {
    struct TCase {
        const char* Line;
        const char* Title;
        const char* Fields;
        bool Selected;
    };
    const TCase cases[] = {
        {"<meta name=\"KAVO analysis 1\" content=\"Controllability=0110\">", "Controllability",
         "0110", true},
        {"<meta name=\"KAVO analysis 2\" content=\"Controllability=01101111\">", "Controllability",
         "0110", true},
        {"<meta name=\"KAVO analysis 2\" content=\"Controllability=01\">", "Controllability",
         "0110", true},
        {"<meta name=\"KAVO analysis 2\" content=\"Controllability=\">", "Controllability", "1010",
         true},
        {"<meta name=\"KAVO analysis 2\" content=\"Controllable=0000\">", "Controllability", "1010",
         false},
        {"<meta name=\"KAVO option FT\" content=\"Controllability=0000\">", "Controllability",
         "1010", false},
    };
    for (const TCase& c : cases) {
        TAnalysisCatalog catalog;
        catalog.FamilySelected.fill(false);
        catalog.ApplySelectionLine(c.Line);
        const TAnalysis& analysis = *catalog.Find(c.Title);
        std::string fields;
        for (const auto& field : analysis.Fields) {
            fields += field->Selected ? '1' : '0';
        }
        EXPECT_EQ(fields, c.Fields) << c.Line;
        EXPECT_EQ(analysis.Selected, c.Selected) << c.Line;
        EXPECT_EQ(catalog.FamilySelected[static_cast<std::size_t>(analysis.Family)], c.Selected)
            << c.Line;
        EXPECT_EQ(catalog.Runs(analysis), c.Selected) << c.Line;
    }
}

// The selections go into a case document and come back from it through the catalog.
class CatalogFileTest : public test::CaseFileTest {};

TEST_F(CatalogFileTest, SavedChoiceComesBackWithoutTurningOnAnalysesThatWereOff) {
    TAnalysisCatalog chosen;
    chosen.Find("Relevance")->Selected = true;
    chosen.Find("Relevance")->FieldAt(1).Selected = true;
    chosen.Find("Issue Linkage")->Selected = true;
    chosen.Find("Issue Linkage")->FieldAt(4).Selected = true;
    chosen.Find("Conflict")->Selected = true;
    for (const auto& field : chosen.Find("Conflict")->Fields) {
        field->Selected = false;
    }
    Case.AnalysisLines = chosen.SelectionLines();
    ASSERT_EQ(Case.AnalysisLines.size(), 2u);
    TCase read(Context);
    ASSERT_EQ(Read(read, test::Join(Document())), TReadOutcome::roRead);
    EXPECT_EQ(read.AnalysisLines, Case.AnalysisLines);

    // A catalog that another case's choice turned on takes this case's choice exactly.
    TAnalysisCatalog catalog;
    catalog.Find("Controllability")->Selected = true;
    catalog.ApplySelectionLines(read.AnalysisLines);
    EXPECT_EQ(catalog.SelectionLines(), Case.AnalysisLines);
    for (const auto& analysis : catalog.Analyses) {
        EXPECT_EQ(catalog.Runs(*analysis), chosen.Runs(*analysis) && analysis->Title != "Conflict")
            << analysis->Title;
    }
    // A case without lines leaves the choice as it is.
    catalog.ApplySelectionLines({});
    EXPECT_EQ(catalog.SelectionLines(), Case.AnalysisLines);
}

}  // namespace
}  // namespace kavo
