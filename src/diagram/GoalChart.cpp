#include "diagram/GoalChart.h"

#include <algorithm>

#include "diagram/DiagramMarks.h"
#include "diagram/TCanvas.h"
#include "model/TGoal.h"

namespace kavo {

namespace {

const TFont kTitleFont{"Arial", 12, true};
const TFont kRowFont{"Arial", 8};
constexpr int kColumnWidth = 26;
constexpr int kRowHeight = 22;

int WidestLabel(TCanvas& canvas, const TGoalChart& chart) {
    canvas.SetFont(kRowFont, kBlack);
    int widest = 0;
    for (const std::string& label : chart.Labels) {
        widest = std::max(widest, canvas.TextWidth(label));
    }
    return widest;
}

// The table of rounds starts below the title, which is wider than the row labels as a rule.
int TitleBand(TCanvas& canvas, const TGoalChart& chart) {
    canvas.SetFont(kTitleFont, kBlack);
    return canvas.TextHeight(chart.Title) + 4;
}

}  // namespace

TPoint GoalChartSize(TCanvas& canvas, const TGoalChart& chart) {
    const int w = WidestLabel(canvas, chart);
    canvas.SetFont(kTitleFont, kBlack);
    const int columns = static_cast<int>(chart.Columns.size());
    const int rows = static_cast<int>(chart.Labels.size());
    const int titleWidth = canvas.TextWidth(chart.Title);
    return {std::max(w + kColumnWidth * columns + 40, titleWidth + 12),
            TitleBand(canvas, chart) + kRowHeight * rows + 40};
}

TPoint DrawGoalChart(TCanvas& canvas, const TGoalChart& chart) {
    const TPoint size = GoalChartSize(canvas, chart);
    canvas.FillRect({0, 0, size.X, size.Y}, kWhite);
    canvas.SetFont(kTitleFont, kBlack);
    canvas.TextOut({6, 6}, chart.Title);
    const int top = TitleBand(canvas, chart);
    const int w = WidestLabel(canvas, chart);
    for (std::size_t i = 0; i < chart.Labels.size(); ++i) {
        canvas.TextOut({6, top + kRowHeight * static_cast<int>(i) + 30}, chart.Labels[i]);
    }
    for (std::size_t j = 0; j < chart.Columns.size(); ++j) {
        const int column = w + kColumnWidth * static_cast<int>(j);
        canvas.SetFont(kRowFont, kBlack);
        canvas.TextOut({column + 31 - canvas.TextWidth(chart.Columns[j]), top + 7},
                       chart.Columns[j]);
        for (std::size_t i = 0; i < chart.Cells.size(); ++i) {
            const TGoal* goal = j < chart.Cells[i].size() ? chart.Cells[i][j] : nullptr;
            if (goal == nullptr) {
                continue;
            }
            const bool custom = goal->GoalType == TGoalType::gtCustom;
            const bool crossed =
                goal->GoalType == TGoalType::gtNegative || (custom && goal->HighUtility <= 0);
            DrawGoalMark(canvas, column + 20, top + kRowHeight * static_cast<int>(i) + 32,
                         goal->Level, goal->Priority, crossed, custom, false);
        }
    }
    return size;
}

}  // namespace kavo
