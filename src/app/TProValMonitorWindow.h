#pragma once

#include <QWidget>
#include <cstdint>

#include "reasoning/TProValMonitor.h"
#include "simulation/TProValStatistics.h"

class QChartView;
class QComboBox;
class QLabel;
class QSpinBox;
class QTimer;

namespace kavo {

// The "ProVal monitor": while the program's MonitorChanges switch is on, it gathers statistics of
// the distributions passing through the reasoning and charts the maximum, mean and minimum of the
// chosen variable for the chosen kind of distribution, a point per sample period. It shows itself
// at the first observation and stays on top of the other windows.
class TProValMonitorWindow : public QWidget, public TProValMonitor {
    Q_OBJECT

  public:
    explicit TProValMonitorWindow(QWidget* parent = nullptr);

    void Observe(std::string_view operation, const TProVal& distribution) override;
    // Forgets every observation and point, and redraws.
    void ResetMonitor();
    // Draws the chosen kind and variable now.
    void Redraw();

    const TProValStatistics& Statistics() const { return Gathered; }
    QChartView* ChartView() const { return View; }
    void Choose(int kind, TProValStatistics::TVariable variable);
    // The position of the sample control, 10 or more; a point per ten times as many observations.
    void SetSamplePosition(int position);

  private:
    TProValStatistics Gathered;
    QComboBox* TypeBox;
    QComboBox* VariableBox;
    QSpinBox* SampleUpDown;
    QLabel* PeriodLabel;
    QChartView* View;
    // Points arrive in bursts during a computation; the chart is redrawn at most a few times a
    // second while events run.
    QTimer* RedrawTimer;
    std::uint64_t DrawnPoints = 0;
};

}  // namespace kavo
