#pragma once

#include <string>
#include <vector>

#include "model/TGeometry.h"

namespace kavo {

class TCanvas;
class TGoal;

// The goals chart of a simulation: a table of goal marks with a row per actor's goal and a column
// per round. Labels are the rows' texts ("F: Harvest"), columns the round numbers; cells hold one
// goal per row and column, null where that round has none.
struct TGoalChart {
    std::string Title;
    std::vector<std::string> Columns;
    std::vector<std::string> Labels;
    std::vector<std::vector<const TGoal*>> Cells;
};

// Draws the chart on white: the title in bold 12-point type at (6, 6); below it, t being the
// title's height + 4, the row labels in 8-point type at (6, t + 22 i + 30), the number of round j
// right-aligned at x = w + 26 j + 31, y = t + 7 (w the widest label) and each goal's mark at
// (w + 26 j + 20, t + 22 i + 32). Returns the size of the drawing.
TPoint DrawGoalChart(TCanvas& canvas, const TGoalChart& chart);
// The size of the drawing without drawing it.
TPoint GoalChartSize(TCanvas& canvas, const TGoalChart& chart);

}  // namespace kavo
