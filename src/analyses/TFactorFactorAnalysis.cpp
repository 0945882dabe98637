#include "analyses/TFactorFactorAnalysis.h"

#include "analyses/TAnalysisRun.h"
#include "model/TPseudoGroup.h"

namespace kavo {

TFactorFactorAnalysis::TFactorFactorAnalysis(std::string title, TAnalysisFamily family)
    : TAnalysis(std::move(title), 14, family) {
    RowHeaderColumns = 4;
    RowHeaderCells =
        "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Factors (1)</th>"
        "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Factors (2)</th>";
}

void TFactorFactorAnalysis::WriteTable(std::ostream& out) {
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(false)) {
        WriteLine(out, line);
    }
    const std::string span = std::to_string(FactorGroups.size());
    for (const TPseudoGroup* cause : FactorGroups) {
        bool first = true;
        for (const TPseudoGroup* effect : FactorGroups) {
            if (!Run->KeepGoing()) {
                break;
            }
            std::string row = "  <tr>";
            if (first) {
                row += "<th rowspan=\"" + span + "\">" + cause->Icon + "</th><th rowspan=\"" +
                       span + "\" align=\"left\">" + cause->Caption + "</th>";
                first = false;
            }
            row += "<th>" + effect->Icon + "</th><th align=\"left\">" + effect->Caption + "</th>";
            RowFactors = FactorsOf(*cause);
            EffectFactors = FactorsOf(*effect);
            ForEachColumn([&](TPseudoGroup&, std::vector<TPerception*> perceptions) {
                ColumnPerceptions = std::move(perceptions);
                Compute();
                row += ValueCells();
            });
            WriteLine(out, row + "</tr>");
        }
    }
    WriteLine(out, "</table>");
}

}  // namespace kavo
