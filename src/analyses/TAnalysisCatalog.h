#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/TAnalysis.h"

namespace kavo {

// The fixed list of analyses that the program offers, in the order in which the analysis dialog
// lists them and the report runs them, with the user's choice of analyses, fields and families.
// A case file stores the choice of fields by title, one line per analysis.
class TAnalysisCatalog {
  public:
    // Every analysis with its default selection of fields; no analysis is selected, every family
    // is.
    TAnalysisCatalog();
    ~TAnalysisCatalog();
    TAnalysisCatalog(const TAnalysisCatalog&) = delete;
    TAnalysisCatalog& operator=(const TAnalysisCatalog&) = delete;

    std::vector<std::unique_ptr<TAnalysis>> Analyses;
    // Indexed by TAnalysisFamily: the report runs only the analyses of selected families.
    std::array<bool, 4> FamilySelected{true, true, true, true};

    // The entry with exactly this title, or null.
    TAnalysis* Find(std::string_view title) const;
    // Selected, and of a selected family.
    bool Runs(const TAnalysis& analysis) const;

    // One line per entry that runs and has at least one selected field, in catalog order:
    // <meta name="KAVO analysis N" content="TITLE=0110...">, N the catalog position and one digit
    // per field, 1 for selected.
    std::vector<std::string> SelectionLines() const;
    // Applies a line of that form to the entry with its title: the fields the line covers take
    // its digits, the others keep their selection, and the analysis and its family are selected.
    // A line of another title or form changes nothing.
    void ApplySelectionLine(std::string_view line);
    // Takes the choice that the lines of a case hold: the analyses they name run, the others are
    // turned off. No lines at all change nothing (a case that never stored a choice).
    void ApplySelectionLines(const std::vector<std::string>& lines);

    // The text of a family's node in the analysis dialog, its icon and its explanation.
    static std::string FamilyCaption(TAnalysisFamily family);
    static int FamilyImageIndex(TAnalysisFamily family);
    static std::string FamilyExplanation(TAnalysisFamily family);
};

}  // namespace kavo
