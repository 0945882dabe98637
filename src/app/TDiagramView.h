#pragma once

#include <QLine>
#include <QPicture>
#include <QWidget>

namespace kavo {

class TPerception;

// The drawing area of a case window: one perception's diagram, drawn at the scale of the zoom
// (so that every line stays at least a screen pixel wide) and smoothly. The diagram is recorded
// once per refresh and zoom and replayed on every paint, so scrolling does not draw the model
// again.
class TDiagramView : public QWidget {
    Q_OBJECT

  public:
    explicit TDiagramView(QWidget* parent = nullptr);

    // The perception to show, or null for none; a disabled diagram is drawn greyed. Records it at
    // once.
    void Show(TPerception* perception, bool enabled);
    TPerception* Perception() const { return Shown; }
    bool DiagramEnabled() const { return Enabled; }
    // Draws the perception again after it changed.
    void Refresh();

    // The drawing area at zoom 1, pixels.
    void SetAreaSize(int width, int height);
    // 1 for 100 %; below 0.8 the labels are left out. Draws the diagram again at the new scale.
    void SetZoom(double zoom);
    double Zoom() const { return CurrentZoom; }

    // The diagram as last recorded, at the zoom.
    const QPicture& Picture() const { return Recorded; }

    // While live (during a drag) every paint draws the perception itself: recording the whole
    // diagram for each step of the pointer would cost more than the step's one paint.
    void SetLive(bool live);

    // A dotted line over the diagram between two diagram points, while a link is drawn.
    void SetGuide(QPoint from, QPoint to);
    void ClearGuide();

  signals:
    // The pointer's position in diagram coordinates.
    void PointerMoved(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void Resize();

    TPerception* Shown = nullptr;
    bool Enabled = false;
    double CurrentZoom = 1.0;
    int AreaWidth = 0;
    int AreaHeight = 0;
    QPicture Recorded;
    QLine Guide;
    bool GuideShown = false;
    bool Live = false;
};

}  // namespace kavo
