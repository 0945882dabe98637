#include "analyses/TTacticAnalysis.h"

#include "analyses/TAnalysisRun.h"
#include "model/TFactor.h"
#include "model/TLevels.h"
#include "model/TPseudoGroup.h"

namespace kavo {

TTacticAnalysis::TTacticAnalysis(std::string title, TAnalysisFamily family)
    : TAnalysis(std::move(title), 18, family) {
    RowHeaderColumns = 3;
    RowHeaderCells =
        "<th width=16><img src=\"gif/action.gif\"></th><th colspan=\"2\" "
        "align=\"left\">Tactics</th>";
}

void TTacticAnalysis::WriteTable(std::ostream& out) {
    const TGroupingMode factorMode = Run->Grouping.FactorMode();
    if (factorMode == TGroupingMode::gmTotal || factorMode == TGroupingMode::gmAggregateByGroup) {
        WriteLine(out, "<p class=err>Cannot do impact assessment for aggregated tactics.</p>");
        return;
    }
    WriteLine(out, "<p class=bihdr>" + Title + "</p>");
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(false)) {
        WriteLine(out, line);
    }
    for (const TPseudoGroup* actionGroup : FactorGroups) {
        const std::vector<TFactor*> actions = FactorsOf(*actionGroup);
        if (actions.empty() || !actions.front()->IsAction) {
            continue;
        }
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            std::string row = "  <tr>";
            if (level == kMinLevel) {
                row += "<th rowspan=\"7\">" + actionGroup->Icon +
                       "</th><th rowspan=\"7\" align=\"left\">" + actionGroup->Caption + "</th>";
            }
            row += "<th><img src=\"gif/r" + std::to_string(level) + "-1.gif\"></th>";
            ForEachColumn([&](TPseudoGroup&, std::vector<TPerception*> perceptions) {
                TacticChange = level;
                RowFactors = actions;
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
