#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "simulation/TRoundPlot.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QStackedWidget;
class QStatusBar;

namespace kavo {

class TCase;
class TMessages;

// Three colours of one choice: the chosen one and two darker shades.
struct TColorChoice {
    QColor Chosen;
    QColor Darker;
    QColor Darkest;
};

// The window "Visualisation of simulation results": the rounds of one case charted as the actions
// taken, the changes of the factors, the actors' goals, and each actor's total utility,
// satisfaction and frustration, filtered by an actor group and a factor group. It keeps the case
// it was shown for until it is shown for another or that case closes; closing only hides it.
class TRoundPlotWindow : public QWidget {
    Q_OBJECT

  public:
    explicit TRoundPlotWindow(TMessages& messages, QWidget* parent = nullptr);

    // Remembers the case, fills the group lists and shows the window with the chart selected.
    void ShowPlot(TCase& plotted);
    // The case is going away: the window hides and forgets it.
    void Forget(const TCase* closing);
    // Draws the selected chart again when the window shows that case.
    void CaseChanged(const TCase* changed);
    // Clears the chart and draws the one selected, for the groups and filter selected.
    void RefreshPlot();

    const TCase* PlottedCase() const { return Plotted; }
    QChart* Chart() const;
    QImage Overlay() const { return GoalsPicture; }
    void SelectPlot(TPlotType type);
    TPlotType SelectedPlot() const;
    // Highlights the series (pen width 3, the others 1) and shows its name in the status bar.
    void Highlight(QLineSeries* series);
    QString StatusText() const;
    // Puts the chart (for the goals, its drawing) on the clipboard as SVG and PNG.
    void CopyGraph();
    // Where a Ctrl+click asks for the colours of a series; the default asks with the colour
    // chooser.
    void SetColorChooser(std::function<std::optional<TColorChoice>()> chooser) {
        ChooseColor = std::move(chooser);
    }

  private:
    TPlotData Compute() const;
    void FillGroupLists();
    void FillChart(const TPlotData& data);
    void ShowGoals(const TPlotData& data);
    void SeriesClicked(QLineSeries* series);
    QString GroupName(const QComboBox* box) const;

    TMessages& Messages;
    TCase* Plotted = nullptr;
    QComboBox* PlotType;
    QComboBox* ActorGroup;
    QComboBox* FactorGroup;
    QComboBox* GroupSelector;
    QStackedWidget* Pages;
    QChartView* View;
    QLabel* GoalsView;
    QImage GoalsPicture;
    QStatusBar* Status;
    QPushButton* CopyButton;
    std::function<std::optional<TColorChoice>()> ChooseColor;
    bool Filling = false;
};

}  // namespace kavo
