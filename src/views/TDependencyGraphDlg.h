#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "analyses/TDependencyGraph.h"
#include "analyses/TGraphModel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kavo {

class TGraphDrawing;
class TMessages;

// The tool window of the dependency graph: the graph an actor-actor or arena table fills while the
// report is written, with the indicators to plot, each indicator's scale, the space around the
// nodes, and copying the picture or the graph as Pajek text to the clipboard. It computes nothing
// about the case; its content stays until the next table starts a graph.
class TDependencyGraphDlg : public QDialog, public TDependencyGraph {
    Q_OBJECT

  public:
    explicit TDependencyGraphDlg(TMessages& messages, QWidget* parent = nullptr);
    ~TDependencyGraphDlg() override;

    void ClearGraph(const std::string& caption, const std::string& legend) override;
    void AddIndicator(const std::string& name) override;
    void AddNode(const std::string& name) override;
    void AddArrow(const std::string& from, const std::string& to,
                  const std::string& cellText) override;
    void ShowGraph() override;

    const TGraphModel& Graph() const { return Model; }
    QListWidget* Indicators() const { return IndicatorList; }
    QLineEdit* HighEdit() const { return High; }
    QLineEdit* LowEdit() const { return Low; }
    QCheckBox* SymmetricBox() const { return Symmetric; }
    QSpinBox* LevelsControl() const { return Levels; }
    QSpinBox* SpaceControl() const { return Space; }
    QPushButton* SetButton() const { return SetBtn; }
    QPushButton* ResetButton() const { return ResetBtn; }
    QPushButton* CopyButton() const { return CopyBtn; }
    QPushButton* PajekButton() const { return PajekBtn; }
    QLabel* Picture() const { return PictureLabel; }

    // The picture on the clipboard as SVG and PNG, with the Pajek text of the checked indicators
    // beside it when the names allow.
    void CopyGraph();
    // The Pajek text of the checked indicators on the clipboard, or a message why not.
    void CopyPajek();
    // "Set" and "Reset" of the selected indicator's scale.
    void SetScale();
    void ResetScale();
    void Redraw();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* CreatePanel();
    void IndicatorSelected();
    void IndicatorChecked();
    void ShowScale(const TScale& scale);
    void EnableScaleControls(bool enabled);
    void ChooseColor(QToolButton* box);
    static void PaintColorBox(QToolButton* box, TColor color);
    int SelectedIndicator() const;

    TMessages& Messages;
    TGraphModel Model;
    std::unique_ptr<TGraphDrawing> Drawing;
    bool Filling = false;
    TColor PlotColor;
    TColor NegativeColor;
    QListWidget* IndicatorList = nullptr;
    QLineEdit* High = nullptr;
    QLineEdit* Low = nullptr;
    QCheckBox* Symmetric = nullptr;
    QSpinBox* Levels = nullptr;
    QLabel* LevelsLabel = nullptr;
    QToolButton* PlotColorBox = nullptr;
    QToolButton* NegativeColorBox = nullptr;
    QPushButton* SetBtn = nullptr;
    QPushButton* ResetBtn = nullptr;
    QSpinBox* Space = nullptr;
    QPushButton* CopyBtn = nullptr;
    QPushButton* PajekBtn = nullptr;
    QLabel* PictureLabel = nullptr;
};

}  // namespace kavo
