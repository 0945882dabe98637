#pragma once

#include <QString>
#include <QWidget>

namespace kavo {

// The status bar of a case window, drawn by itself in three panels: the pointer's diagram
// coordinates, the zoom with its two buttons, and the status text. A press on an active zoom
// button asks for the next zoom step; the case window decides and sets the zoom.
class TCaseStatusBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kCoordinatesWidth = 90;
    static constexpr int kZoomWidth = 70;

    explicit TCaseStatusBar(QWidget* parent = nullptr);

    void SetCoordinates(int x, int y);
    void ClearCoordinates();
    void SetZoom(double zoom);
    void SetStatusText(const QString& text);
    // While a comment is edited the status text has a light green background.
    void SetEditing(bool editing);

    double Zoom() const { return CurrentZoom; }
    const QString& StatusText() const { return Text; }
    const QString& Coordinates() const { return CoordinateText; }

    // The zoom step (-1 out, +1 in, 0 none) of a press at x on the bar, with the given zoom.
    static int ZoomStepAt(int x, double zoom);
    // Whether (x, y) on the bar lies over an active zoom button.
    static bool OverZoomButton(int x, int y, double zoom);

    QSize sizeHint() const override;

  signals:
    void ZoomStepRequested(int step);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void DrawZoomButton(QPainter& painter, int left, bool zoomIn, bool active) const;

    QString CoordinateText;
    QString Text;
    double CurrentZoom = 1.0;
    bool Editing = false;
};

}  // namespace kavo
