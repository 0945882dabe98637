#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analyses/TAnalysisField.h"

namespace kavo {

class TAnalysisRun;
class TDependencyGraph;
class TFactor;
class TPerception;
class TProVal;
class TPseudoGroup;

// The level of the case an analysis looks at; the report runs the families in this order.
enum class TAnalysisFamily { afCase = 0, afArena = 1, afActor = 2, afFactor = 3 };

// Writes one line of a report, ended by CR LF.
void WriteLine(std::ostream& out, std::string_view line);

// One analysis of the catalog: its texts, its fields (output columns and option switches) and the
// operations that write its table into a report. A run of the report sets the run, the groups and,
// cell by cell, the row factors and column perceptions; Compute computes a cell from them and
// ValueCells writes it. The family bases lay out the tables.
class TAnalysis {
  public:
    TAnalysis(std::string title, int imageIndex, TAnalysisFamily family);
    virtual ~TAnalysis();
    TAnalysis(const TAnalysis&) = delete;
    TAnalysis& operator=(const TAnalysis&) = delete;

    // Unique in the catalog: the key of the analysis in case files.
    std::string Title;
    std::string Description;
    // Actor x actor analyses: the sentence above the table.
    std::string CellCaption;
    // The legend of the dependency graph.
    std::string GraphLegend;
    // The names of the row and column entities of the cell being computed.
    std::string RowName;
    std::string ColumnName;
    // Header cells above the row-header columns.
    std::string RowHeaderCells;
    TAnalysisFamily Family;
    // Icon of the analysis in the analysis dialog.
    int ImageIndex;
    // Table columns that the row headers take.
    int RowHeaderColumns = 0;
    bool Selected = false;
    // Graph arrows run from the row entity to the column entity instead.
    bool GraphReversed = false;
    // Owned, in column order.
    std::vector<std::unique_ptr<TAnalysisField>> Fields;

    // Set for one run; not owned.
    TAnalysisRun* Run = nullptr;
    std::vector<TPseudoGroup*> ArenaGroups;
    std::vector<TPseudoGroup*> FactorGroups;
    // Of the current cell; not owned.
    std::vector<TFactor*> RowFactors;
    std::vector<TPerception*> ColumnPerceptions;

    TAnalysisField& AddField(std::string name, TFieldKind kind);
    TAnalysisField& FieldAt(int index) const { return *Fields[static_cast<std::size_t>(index)]; }
    // Fixes the selection of the fields for the run that starts: changes made meanwhile apply
    // from the next run on.
    void TakeSelection();
    // Whether the field was selected when the run started.
    bool FieldSelected(int index) const;
    // Selected fields that make a column.
    int VisibleFieldCount() const;
    // A selected graph switch.
    bool PlotSelected() const;
    // A header cell per column field: its kind image and name. With showGraph, every column field
    // except tactics also becomes an indicator of the graph.
    std::string FieldHeaderCells(bool showGraph) const;

    // Header cells of extra columns between the row headers and the value columns.
    virtual std::string ExtraHeaderCells();
    // Their cells for the current row.
    virtual std::string ExtraRowCells();
    // The header rows of the table: arenas, actors and fields.
    virtual std::vector<std::string> HeaderRows(bool showGraph);
    // Computes the current cell.
    virtual void Compute();
    // One cell per column field for the current cell.
    virtual std::string ValueCells();
    // The whole output of the analysis for the current groups.
    virtual void WriteTable(std::ostream& out);

  protected:
    // The graph to fill when showGraph, else null.
    TDependencyGraph* Graph(bool showGraph) const;
    // Calls visit for every column of the table in order: each actor group of each arena group
    // with its perceptions, or with one perception at a time when actors are clustered. Lets
    // events run before each column and stops when the analysis is cancelled.
    void ForEachColumn(const std::function<void(TPseudoGroup& actorGroup,
                                                std::vector<TPerception*> perceptions)>& visit);
    // The cells of the fields selected for the run, from (field, cell) pairs in field order.
    std::string SelectedCells(std::initializer_list<std::pair<int, std::string>> cells) const;
    // The members of a factor group.
    static std::vector<TFactor*> FactorsOf(const TPseudoGroup& factorGroup);
    // "<td align=\"center\">-</td>".
    static std::string DashCell();
    // FormatCell of the field as a number, or as a percentage.
    std::string NumberCell(int field, double x) const;
    std::string PercentCell(int field, double x) const;
    // The quotient as a percentage, or the dash cell when the divisor is 0 or less.
    std::string QuotientCell(int field, double dividend, double divisor, bool asPercent) const;
    // A centred cell with the histogram icon of the normalised distribution.
    std::string HistogramCell(const TProVal& distribution) const;

  private:
    std::vector<bool> Taken;
};

}  // namespace kavo
