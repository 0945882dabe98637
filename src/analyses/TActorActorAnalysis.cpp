#include "analyses/TActorActorAnalysis.h"

#include "analyses/Grouping.h"
#include "analyses/TAnalysisRun.h"
#include "analyses/TDependencyGraph.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"

namespace kavo {

TActorActorAnalysis::TActorActorAnalysis(std::string title, TAnalysisFamily family)
    : TAnalysis(std::move(title), 10, family) {
    RowHeaderColumns = 4;
    RowHeaderCells =
        "<th width=16><img src=\"gif/arena.gif\"></th><th align=\"left\">Arena&nbsp;II"
        "<font face=\"Symbol\">&#8595;</font></th><th width=16><img src=\"gif/actor.gif\"></th>"
        "<th align=\"left\">Actor&nbsp;B<font face=\"Symbol\">&#8595;</font></th>";
}

TActorActorAnalysis::~TActorActorAnalysis() = default;

void TActorActorAnalysis::Aggregate() {
    for (TPseudoGroup* arenaGroup : ArenaGroups) {
        for (const auto& actorGroup : arenaGroup->SubGroups) {
            Aggregated.push_back(MergedPerception(*actorGroup));
        }
    }
}

void TActorActorAnalysis::WriteRow(std::string& row, const TPseudoGroup& rowGroup,
                                   const std::string& name, std::vector<TPerception*> perceptions) {
    const bool showGraph = PlotSelected();
    TDependencyGraph* graph = Graph(showGraph);
    RowPerceptions = std::move(perceptions);
    RowName = name;
    row += "<th colspan=\"2\" align=\"left\">" + rowGroup.Icon + "<span class=ac>" + RowName +
           "</span></th>";
    const bool aggregated = !Aggregated.empty();
    const bool clustered = Run->Grouping.ActorsClustered();
    std::size_t column = 0;
    bool first = true;
    ForEachColumn([&](TPseudoGroup& columnGroup, std::vector<TPerception*> columnPerceptions) {
        if (aggregated) {
            ColumnPerceptions = {Aggregated[column++].get()};
        } else {
            ColumnPerceptions = std::move(columnPerceptions);
        }
        ColumnName = clustered ? ColumnPerceptions.front()->OwnerName() : columnGroup.Caption;
        Compute();
        if (first) {
            row += ExtraRowCells();
            first = false;
        }
        const std::string cells = ValueCells();
        row += cells;
        if (graph != nullptr) {
            if (GraphReversed) {
                graph->AddArrow(RowName, ColumnName, cells);
            } else {
                graph->AddArrow(ColumnName, RowName, cells);
            }
        }
    });
}

void TActorActorAnalysis::WriteTable(std::ostream& out) {
    const bool showGraph = PlotSelected();
    if (TDependencyGraph* graph = Graph(showGraph)) {
        graph->ShowGraph();
    }
    Aggregated.clear();
    const TGroupingSettings& grouping = Run->Grouping;
    const auto merges = [](TGroupingMode mode) {
        return mode == TGroupingMode::gmTotal || mode == TGroupingMode::gmAggregateByGroup;
    };
    const bool clustered = grouping.ActorsClustered();
    if (!clustered && (merges(grouping.ArenaMode()) || merges(grouping.ActorMode()))) {
        Aggregate();
    }
    TableStarted();
    WriteLine(out, "<p class=\"cmnt\">" + CellCaption + "</p>");
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(showGraph)) {
        WriteLine(out, line);
    }
    std::size_t nextAggregated = 0;
    for (TPseudoGroup* arenaGroup : ArenaGroups) {
        std::size_t rows = 0;
        for (const auto& actorGroup : arenaGroup->SubGroups) {
            rows += clustered ? actorGroup->Perceptions.size() : 1;
        }
        if (rows == 0) {
            continue;
        }
        std::string row = "  <tr><th colspan=\"2\" align=\"left\" rowspan=\"" +
                          std::to_string(rows) + "\">" + arenaGroup->Icon + arenaGroup->Caption +
                          "</th>";
        for (const auto& actorGroup : arenaGroup->SubGroups) {
            if (clustered) {
                for (TPerception* perception : actorGroup->Perceptions) {
                    WriteRow(row, *actorGroup, perception->OwnerName(), {perception});
                    WriteLine(out, row + "</tr>");
                    row = "  <tr>";
                }
                continue;
            }
            std::vector<TPerception*> perceptions = actorGroup->Perceptions;
            if (!Aggregated.empty()) {
                perceptions = {Aggregated[nextAggregated++].get()};
            }
            WriteRow(row, *actorGroup, actorGroup->Caption, std::move(perceptions));
            WriteLine(out, row + "</tr>");
            row = "  <tr>";
        }
    }
    TableFinished();
    WriteLine(out, "</table>");
    // The merged perceptions belong to this run's groups, which the run discards.
    Aggregated.clear();
}

}  // namespace kavo
