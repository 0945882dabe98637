#include "app/TCaseStatusBar.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <cmath>

#include "app/TDiagramZoom.h"

namespace kavo {

namespace {

constexpr int kBarHeight = 19;
constexpr int kButtonSize = 12;
// Where the zoom buttons lie, relative to the zoom panel: the presses they take lie a little to
// the right of their drawn symbols.
constexpr int kZoomOutLeft = 3;
constexpr int kZoomInLeft = 51;
constexpr int kZoomOutPress = 5;
constexpr int kZoomInPress = 55;
constexpr int kPressWidth = 14;
constexpr int kTextCentre = 33;
const QColor kEditingColor(0xC0, 0xDC, 0xC0);

// A zoom button is inactive at its end of the zoom.
bool CanZoomOut(double zoom) {
    return zoom > TDiagramZoom::kMinZoom + 0.01;
}

bool CanZoomIn(double zoom) {
    return zoom < TDiagramZoom::kMaxZoom - 0.01;
}

}  // namespace

TCaseStatusBar::TCaseStatusBar(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFixedHeight(kBarHeight);
}

QSize TCaseStatusBar::sizeHint() const {
    return {kCoordinatesWidth + kZoomWidth + 200, kBarHeight};
}

void TCaseStatusBar::SetCoordinates(int x, int y) {
    CoordinateText = QStringLiteral("x: %1, y: %2").arg(x).arg(y);
    update();
}

void TCaseStatusBar::ClearCoordinates() {
    CoordinateText.clear();
    update();
}

void TCaseStatusBar::SetZoom(double zoom) {
    CurrentZoom = zoom;
    update();
}

void TCaseStatusBar::SetStatusText(const QString& text) {
    Text = text;
    repaint();
}

void TCaseStatusBar::SetEditing(bool editing) {
    Editing = editing;
    update();
}

int TCaseStatusBar::ZoomStepAt(int x, double zoom) {
    const int out = kCoordinatesWidth + kZoomOutPress;
    const int in = kCoordinatesWidth + kZoomInPress;
    if (x > out && x < out + kPressWidth && CanZoomOut(zoom)) {
        return -1;
    }
    if (x > in && x < in + kPressWidth && CanZoomIn(zoom)) {
        return 1;
    }
    return 0;
}

bool TCaseStatusBar::OverZoomButton(int x, int y, double zoom) {
    return y >= 3 && y <= 14 && ZoomStepAt(x, zoom) != 0;
}

void TCaseStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colors = palette();
    const int textLeft = kCoordinatesWidth + kZoomWidth;
    painter.fillRect(rect(), colors.window());
    if (Editing) {
        painter.fillRect(QRect(textLeft, 0, width() - textLeft, height()), kEditingColor);
    }
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawLine(kCoordinatesWidth - 1, 1, kCoordinatesWidth - 1, height() - 2);
    painter.drawLine(textLeft - 1, 1, textLeft - 1, height() - 2);

    painter.setPen(colors.color(QPalette::WindowText));
    const int baseline = 2 + QFontMetrics(font()).ascent();
    painter.drawText(2, baseline, CoordinateText);

    const QString zoomText = QStringLiteral("%1%").arg(std::lround(CurrentZoom * 100));
    const int zoomTextWidth = QFontMetrics(font()).horizontalAdvance(zoomText);
    painter.drawText(kCoordinatesWidth + kTextCentre - zoomTextWidth / 2, baseline, zoomText);
    DrawZoomButton(painter, kCoordinatesWidth + kZoomOutLeft, false, CanZoomOut(CurrentZoom));
    DrawZoomButton(painter, kCoordinatesWidth + kZoomInLeft, true, CanZoomIn(CurrentZoom));

    painter.setPen(colors.color(QPalette::WindowText));
    painter.drawText(textLeft + 2, baseline,
                     QFontMetrics(font()).elidedText(Text, Qt::ElideRight, width() - textLeft - 4));
}

void TCaseStatusBar::DrawZoomButton(QPainter& painter, int left, bool zoomIn, bool active) const {
    const QColor color = active ? palette().color(QPalette::Active, QPalette::WindowText)
                                : palette().color(QPalette::Disabled, QPalette::WindowText);
    painter.setPen(QPen(color, 1));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRect lens(left, 4, kButtonSize - 3, kButtonSize - 3);
    painter.drawEllipse(lens);
    painter.drawLine(lens.bottomRight(), lens.bottomRight() + QPoint(3, 3));
    const QPoint centre = lens.center();
    painter.drawLine(centre.x() - 2, centre.y(), centre.x() + 2, centre.y());
    if (zoomIn) {
        painter.drawLine(centre.x(), centre.y() - 2, centre.x(), centre.y() + 2);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void TCaseStatusBar::mousePressEvent(QMouseEvent* event) {
    const int step = ZoomStepAt(event->position().toPoint().x(), CurrentZoom);
    if (step != 0) {
        emit ZoomStepRequested(step);
    }
}

void TCaseStatusBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    setCursor(OverZoomButton(at.x(), at.y(), CurrentZoom) ? Qt::PointingHandCursor
                                                          : Qt::ArrowCursor);
    // The zoom panel tells of the keys that zoom too.
    const bool overZoom = at.x() >= kCoordinatesWidth && at.x() < kCoordinatesWidth + kZoomWidth;
    setToolTip(overZoom ? tr("Zoom out (Ctrl+-), zoom in (Ctrl++), fit to the window (Ctrl+0); "
                             "Ctrl with the wheel over the diagram zooms too")
                        : QString());
}

}  // namespace kavo
