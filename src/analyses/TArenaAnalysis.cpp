#include "analyses/TArenaAnalysis.h"

#include "analyses/TAnalysisRun.h"
#include "analyses/TDependencyGraph.h"
#include "model/TPseudoGroup.h"

namespace kavo {

TArenaAnalysis::TArenaAnalysis(std::string title, TAnalysisFamily family)
    : TAnalysis(std::move(title), 6, family) {
    RowHeaderColumns = 2;
    RowHeaderCells = "<th width=16><img src=\"gif/arena.gif\"></th><th align=\"left\">Arenas</th>";
}

std::vector<std::string> TArenaAnalysis::HeaderRows(bool showGraph) {
    TDependencyGraph* graph = Graph(showGraph);
    if (graph != nullptr) {
        graph->ClearGraph(Title, GraphLegend);
    }
    const std::string n = std::to_string(VisibleFieldCount());
    const std::string fields = FieldHeaderCells(showGraph);
    std::string arenaRow;
    std::string fieldRow;
    for (const TPseudoGroup* arenaGroup : ArenaGroups) {
        arenaRow += "<th colspan=\"" + n + "\">" + arenaGroup->Icon + arenaGroup->Caption + "</th>";
        fieldRow += fields;
        if (graph != nullptr) {
            graph->AddNode(arenaGroup->Caption);
        }
    }
    return {
        "  <tr><th colspan=\"" + std::to_string(RowHeaderColumns) +
            "\" align=\"right\"><img src=\"gif/arena.gif\"></th>" + arenaRow + "</tr>",
        "  <tr>" + RowHeaderCells + fieldRow + "</tr>",
    };
}

void TArenaAnalysis::WriteTable(std::ostream& out) {
    const bool showGraph = PlotSelected();
    TDependencyGraph* graph = Graph(showGraph);
    if (graph != nullptr) {
        graph->ShowGraph();
    }
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(showGraph)) {
        WriteLine(out, line);
    }
    for (std::size_t i = 0; i < ArenaGroups.size() && Run->KeepGoing(); ++i) {
        RowIndex = static_cast<int>(i);
        RowName = ArenaGroups[i]->Caption;
        std::string row = "  <tr><th colspan=\"2\" align=\"left\">" + ArenaGroups[i]->Icon +
                          ArenaGroups[i]->Caption + "</th>";
        for (std::size_t j = 0; j < ArenaGroups.size() && Run->KeepGoing(); ++j) {
            ColumnIndex = static_cast<int>(j);
            ColumnName = ArenaGroups[j]->Caption;
            Compute();
            const std::string cells = ValueCells();
            row += cells;
            if (graph != nullptr) {
                graph->AddArrow(ColumnName, RowName, cells);
            }
        }
        WriteLine(out, row + "</tr>");
    }
    WriteLine(out, "</table>");
}

}  // namespace kavo
