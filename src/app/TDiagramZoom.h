#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QAction;
class QScrollArea;
class QWidget;

namespace kavo {

class TCaseStatusBar;
class TDiagramView;

// The zoom of a case window's diagram: steps from 20 % to 400 %, fitting the drawing into the
// view, Ctrl with the wheel over the diagram, and the shortcuts Ctrl++, Ctrl+- and Ctrl+0 while
// the window has the focus. While the zoom changes, the diagram point under the pointer (or in
// the middle of the view) stays where it is. The status bar shows the zoom and its buttons step
// it.
class TDiagramZoom : public QObject {
    Q_OBJECT

  public:
    static constexpr double kMinZoom = 0.2;
    static constexpr double kMaxZoom = 4.0;

    // The window receives the shortcuts; none of the widgets is owned.
    TDiagramZoom(TDiagramView& diagram, QScrollArea& scroller, TCaseStatusBar& status,
                 QWidget& window);

    double Zoom() const;
    // One step along the zoom ladder (10 % steps up to 100 %, then larger ones); a zoom between
    // two rungs goes to the next rung. Stays where it is at the ends.
    static double SteppedZoom(double zoom, int steps);
    // The largest zoom within the limits at which a drawing of the given size fits the room.
    static double FittingZoom(QSize drawing, QSize room);

    // Steps about the middle of the view: -1 out, +1 in.
    void Step(int steps);
    // Fits the shown diagram into the view; nothing when it is empty.
    void Fit();
    // Sets the zoom, keeping the diagram point at `anchor` (viewport coordinates) in place.
    void SetZoom(double zoom, QPoint anchor);

    QAction* ZoomInAction() const { return ZoomIn; }
    QAction* ZoomOutAction() const { return ZoomOut; }
    QAction* FitAction() const { return FitToView; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPoint ViewCentre() const;

    TDiagramView& Diagram;
    QScrollArea& Scroller;
    TCaseStatusBar& Status;
    QAction* ZoomIn;
    QAction* ZoomOut;
    QAction* FitToView;
    // What the wheel has turned short of a whole step: touchpads send small amounts.
    int WheelTurn = 0;
};

}  // namespace kavo
