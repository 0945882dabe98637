#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QChart;
class QChartView;
class QPushButton;
class QTreeWidget;

namespace kavo {

class TPerception;
struct TSensitivity;

// The window "Sensitivity of the best strategy": a tornado chart of a perception's uncertain
// prospects and links, each a bar from the lowest to the highest best score over its values
// relative to the best score with every item uncertain, the widest on top; below it every value
// with the best strategy then. It copies what it shows when it opens and refers to nothing of the
// case afterwards.
class TSensitivityWindow : public QDialog {
    Q_OBJECT

  public:
    TSensitivityWindow(const TSensitivity& result, const TPerception& perception,
                       QWidget* parent = nullptr);

    QChart* Chart() const;
    QTreeWidget* Details() const { return Values; }
    QPushButton* CopyButton() const { return CopyBtn; }
    // The items' labels from the top bar down.
    const std::vector<QString>& Labels() const { return BarLabels; }
    // Puts the chart on the clipboard as SVG and PNG.
    void CopyGraph();

  private:
    QChartView* View;
    QTreeWidget* Values;
    QPushButton* CopyBtn;
    std::vector<QString> BarLabels;
};

}  // namespace kavo
