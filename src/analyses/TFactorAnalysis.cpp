#include "analyses/TFactorAnalysis.h"

#include "analyses/TAnalysisRun.h"
#include "model/TPseudoGroup.h"

namespace kavo {

TFactorAnalysis::TFactorAnalysis(std::string title, TAnalysisFamily family)
    : TAnalysis(std::move(title), 17, family) {
    RowHeaderColumns = 2;
    RowHeaderCells =
        "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Factors</th>";
}

void TFactorAnalysis::WriteTable(std::ostream& out) {
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(false)) {
        WriteLine(out, line);
    }
    for (const TPseudoGroup* factorGroup : FactorGroups) {
        if (!Run->KeepGoing()) {
            break;
        }
        RowFactors = FactorsOf(*factorGroup);
        std::string row = "  <tr><td>" + factorGroup->Icon + "</td><td align=\"left\">" +
                          factorGroup->Caption + "</td>";
        ForEachColumn([&](TPseudoGroup&, std::vector<TPerception*> perceptions) {
            ColumnPerceptions = std::move(perceptions);
            Compute();
            row += ValueCells();
        });
        WriteLine(out, row + "</tr>");
    }
    WriteLine(out, "</table>");
}

}  // namespace kavo
