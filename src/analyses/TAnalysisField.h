#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/TFieldFormat.h"

namespace kavo {

// What a field of an analysis shows; every kind has an image in the case's image folder.
enum class TFieldKind : std::uint8_t {
    fkCount = 0,
    fkPercent = 1,  // a fraction shown as a percentage
    fkSum = 2,
    fkMean = 3,
    fkStdDev = 4,
    fkProVal = 5,  // a change distribution, shown as a histogram
    fkTactic = 6,
    fkUtFunc = 7,  // a goal's utility function
    fkToZero = 8,
    fkToPos = 9,
    fkToNeg = 10,
    fkDetail = 11,  // an option switch without a column
    fkPlot = 12,    // the switch that shows the dependency graph, without a column
};

// The image name of a kind: "count", "percent", ... "plot".
std::string KindImage(TFieldKind kind);

// One output column of an analysis, or one of its option switches, with the conditional formats of
// its cells.
class TAnalysisField {
  public:
    TAnalysisField(std::string name, TFieldKind kind);

    std::string Name;
    // Explanation shown when the field is selected in the analysis dialog; may be empty.
    std::string Hint;
    TFieldKind Kind;
    // Icon of the field in the analysis dialog: 19 + Kind.
    int ImageIndex;
    // The user wants the column or the switch.
    bool Selected = false;
    // Tried in order; the first that matches formats the cell.
    std::vector<TFieldFormat> Formats;

    // Neither an option switch nor the graph switch: the field has a column when selected.
    bool HasColumn() const { return Kind != TFieldKind::fkDetail && Kind != TFieldKind::fkPlot; }
    // One right-aligned table cell holding x as a number, or as a percentage, styled by the first
    // format that matches x.
    std::string FormatCell(bool asPercent, double x) const;
};

}  // namespace kavo
