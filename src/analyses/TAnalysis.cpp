#include "analyses/TAnalysis.h"

#include "analyses/TAnalysisRun.h"
#include "analyses/TDependencyGraph.h"
#include "model/TFactor.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"

namespace kavo {

namespace {

std::string Str(int n) {
    return std::to_string(n);
}

int CountOf(const std::string& text, std::string_view part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

}  // namespace

void WriteLine(std::ostream& out, std::string_view line) {
    out << line << "\r\n";
}

TAnalysis::TAnalysis(std::string title, int imageIndex, TAnalysisFamily family)
    : Title(std::move(title)), Family(family), ImageIndex(imageIndex) {}

TAnalysis::~TAnalysis() = default;

TAnalysisField& TAnalysis::AddField(std::string name, TFieldKind kind) {
    Fields.push_back(std::make_unique<TAnalysisField>(std::move(name), kind));
    Taken.push_back(false);
    return *Fields.back();
}

void TAnalysis::TakeSelection() {
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        Taken[i] = Fields[i]->Selected;
    }
}

bool TAnalysis::FieldSelected(int index) const {
    return Taken[static_cast<std::size_t>(index)];
}

int TAnalysis::VisibleFieldCount() const {
    int count = 0;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        count += Taken[i] && Fields[i]->HasColumn() ? 1 : 0;
    }
    return count;
}

bool TAnalysis::PlotSelected() const {
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        if (Taken[i] && Fields[i]->Kind == TFieldKind::fkPlot) {
            return true;
        }
    }
    return false;
}

std::string TAnalysis::FieldHeaderCells(bool showGraph) const {
    TDependencyGraph* graph = Graph(showGraph);
    std::string cells;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        const TAnalysisField& field = *Fields[i];
        if (!Taken[i] || !field.HasColumn()) {
            continue;
        }
        cells += "<th><img align=\"absmiddle\" src=\"gif/" + KindImage(field.Kind) + ".gif\">" +
                 field.Name + "</th>";
        if (graph != nullptr && field.Kind != TFieldKind::fkTactic) {
            graph->AddIndicator(field.Name + (field.Kind == TFieldKind::fkPercent ? " (%)" : ""));
        }
    }
    return cells;
}

std::string TAnalysis::ExtraHeaderCells() {
    return {};
}

std::string TAnalysis::ExtraRowCells() {
    return {};
}

std::vector<std::string> TAnalysis::HeaderRows(bool showGraph) {
    TDependencyGraph* graph = Graph(showGraph);
    if (graph != nullptr) {
        graph->ClearGraph(Title, GraphLegend);
    }
    const int n = VisibleFieldCount();
    const std::string fields = FieldHeaderCells(showGraph);
    const std::string opener = "<td colspan=\"" + Str(n) + "\">";
    const bool clustered = Run->Grouping.ActorsClustered();
    std::string arenaRow;
    std::string actorRow;
    std::string fieldRow;
    for (const TPseudoGroup* arenaGroup : ArenaGroups) {
        int width = 0;
        const auto column = [&](const TPseudoGroup& actorGroup, const std::string& name) {
            actorRow += opener + actorGroup.Icon + "<span class=ac>" + name + "</span></td>";
            if (graph != nullptr) {
                graph->AddNode(name);
            }
            width += n;
            fieldRow += fields;
        };
        for (const auto& actorGroup : arenaGroup->SubGroups) {
            if (clustered) {
                for (const TPerception* perception : actorGroup->Perceptions) {
                    column(*actorGroup, perception->OwnerName());
                }
            } else {
                column(*actorGroup, actorGroup->Caption);
            }
        }
        arenaRow += "<th colspan=\"" + Str(width) + "\">" + arenaGroup->Icon + arenaGroup->Caption +
                    "</th>";
    }
    const std::string extra = ExtraHeaderCells();
    const int corner = CountOf(extra, "</th>") + RowHeaderColumns - 2;
    const std::string cornerCell = corner > 0 ? "<th colspan=\"" + Str(corner) + "\"></th>" : "";
    return {
        "  <tr>" + cornerCell +
            "<th align=\"right\"><img src=\"gif/arena.gif\"></th><th align=\"left\">Arena&nbsp;I"
            "<font face=\"Symbol\">&#8594;</font></th>" +
            arenaRow + "</tr>",
        "  <tr>" + cornerCell +
            "<th align=\"right\"><img src=\"gif/actor.gif\"></th><th align=\"left\">Actor&nbsp;A"
            "<font face=\"Symbol\">&#8594;</font></th>" +
            actorRow + "</tr>",
        "  <tr>" + RowHeaderCells + extra + fieldRow + "</tr>",
    };
}

void TAnalysis::Compute() {}

std::string TAnalysis::ValueCells() {
    return "<td colspan=\"" + Str(VisibleFieldCount()) +
           "\" bgcolor=\"black\"><font color=\"red\"><b>No analyisis defined</b></font></td>";
}

void TAnalysis::WriteTable(std::ostream& out) {
    WriteLine(out, "<table border=\"1\">");
    WriteLine(out, ValueCells());
    WriteLine(out, "</table>");
}

TDependencyGraph* TAnalysis::Graph(bool showGraph) const {
    return showGraph && Run != nullptr ? Run->Graph : nullptr;
}

void TAnalysis::ForEachColumn(
    const std::function<void(TPseudoGroup&, std::vector<TPerception*>)>& visit) {
    const bool clustered = Run->Grouping.ActorsClustered();
    for (TPseudoGroup* arenaGroup : ArenaGroups) {
        for (const auto& actorGroup : arenaGroup->SubGroups) {
            if (!clustered) {
                if (!Run->KeepGoing()) {
                    return;
                }
                visit(*actorGroup, actorGroup->Perceptions);
                continue;
            }
            for (TPerception* perception : actorGroup->Perceptions) {
                if (!Run->KeepGoing()) {
                    return;
                }
                visit(*actorGroup, {perception});
            }
        }
    }
}

std::string TAnalysis::SelectedCells(
    std::initializer_list<std::pair<int, std::string>> cells) const {
    std::string text;
    for (const auto& [field, cell] : cells) {
        if (FieldSelected(field)) {
            text += cell;
        }
    }
    return text;
}

std::vector<TFactor*> TAnalysis::FactorsOf(const TPseudoGroup& factorGroup) {
    std::vector<TFactor*> factors;
    factors.reserve(factorGroup.Members.size());
    for (TConcept* factor : factorGroup.Members) {
        factors.push_back(static_cast<TFactor*>(factor));
    }
    return factors;
}

std::string TAnalysis::DashCell() {
    return "<td align=\"center\">-</td>";
}

std::string TAnalysis::NumberCell(int field, double x) const {
    return FieldAt(field).FormatCell(false, x);
}

std::string TAnalysis::PercentCell(int field, double x) const {
    return FieldAt(field).FormatCell(true, x);
}

std::string TAnalysis::QuotientCell(int field, double dividend, double divisor,
                                    bool asPercent) const {
    return divisor > 0 ? FieldAt(field).FormatCell(asPercent, dividend / divisor) : DashCell();
}

std::string TAnalysis::HistogramCell(const TProVal& distribution) const {
    return "<td align=\"center\"><img src=\"gif/" + Run->HistogramImage(distribution) +
           ".gif\"></td>";
}

}  // namespace kavo
