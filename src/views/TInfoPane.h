#pragma once

#include <QWidget>
#include <memory>

#include "qtgui/TQtTextMeasure.h"

class QCheckBox;

namespace kavo {

class TFiP;
class TLink;
class TPerception;
class TQuickAnalysis;

// The tool window "Quick analysis": explains, as coloured text with small histograms, whatever the
// pointer is on in a case window, as far as its switches ask for: the inferred influence of a
// factor on the selected factors, the noise of the prospects at it, the effect of an action's
// level on the goals, a link, the best and worst strategies, and the conflicts with a perception
// under the pointer in the case tree. It shows what it recorded when it was refilled, so it never
// refers to items that were cut or deleted since.
class TInfoPane : public QWidget {
    Q_OBJECT

  public:
    explicit TInfoPane(QWidget* parent = nullptr);
    ~TInfoPane() override;

    TQuickAnalysis& Analysis() const { return *Quick; }
    QWidget* Picture() const { return PictureArea; }
    QCheckBox* InfluenceBox() const { return Influence; }
    QCheckBox* USFBox() const { return USF; }
    QCheckBox* NoiseBox() const { return Noise; }
    QCheckBox* StrategiesBox() const { return Strategies; }
    QCheckBox* ConflictsBox() const { return Conflicts; }

    // Refills the pane for the pointer over a diagram of the perception (see TQuickAnalysis).
    void Explain(TPerception& perception, const TFiP* fip, int rangeLevel, const TLink* link);
    // Refills it for the pointer over another perception in the case tree.
    void ExplainConflicts(TPerception& shown, TPerception& other);
    // Nothing to show, as after the case window it explained was closed.
    void Clear();
    // Whether a refill is under way; it may let events through while results are computed.
    bool Busy() const { return Filling; }

    // The explanation as an SVG picture, with an image beside, on the clipboard: as large as its
    // text plus 10 pixels.
    void CopyPicture();
    // The explanation as plain lines of text on the clipboard.
    void CopyText();

    // Shows the pane at the top of the screen, its right edge at the window's right edge.
    void ShowBeside(const QWidget& window);

  signals:
    // The pane was shown or hidden.
    void Shown(bool visible);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void SwitchesChanged();
    void Repaint();

    TQtTextMeasure Measure;
    std::unique_ptr<TQuickAnalysis> Quick;
    QWidget* PictureArea = nullptr;
    QCheckBox* Influence = nullptr;
    QCheckBox* USF = nullptr;
    QCheckBox* Noise = nullptr;
    QCheckBox* Strategies = nullptr;
    QCheckBox* Conflicts = nullptr;
    bool Filling = false;
};

}  // namespace kavo
