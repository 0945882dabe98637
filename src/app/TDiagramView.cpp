#include "app/TDiagramView.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "diagram/PerceptionDrawing.h"
#include "diagram/TDrawMode.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

// Labels would be too small to read below this zoom.
constexpr double kTextZoom = 0.8;

TDrawMode ModeFor(double zoom, bool enabled) {
    if (zoom < kTextZoom) {
        return enabled ? TDrawMode::dmNoText : TDrawMode::dmGreyedNoText;
    }
    return enabled ? TDrawMode::dmNormal : TDrawMode::dmGreyed;
}

}  // namespace

TDiagramView::TDiagramView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("drawingArea"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDiagramView::Show(TPerception* perception, bool enabled) {
    Shown = perception;
    Enabled = enabled;
    setEnabled(enabled);
    Refresh();
}

void TDiagramView::Refresh() {
    Recorded = QPicture();
    if (Shown != nullptr && !Live) {
        QPainter painter(&Recorded);
        // Scaled before the canvas is made: the canvas fits its pens to the scale.
        painter.scale(CurrentZoom, CurrentZoom);
        TQtCanvas canvas(painter, TCanvasQuality::cqSmooth);
        DrawPerception(*Shown, canvas, ModeFor(CurrentZoom, Enabled));
    }
    update();
}

void TDiagramView::SetAreaSize(int width, int height) {
    AreaWidth = width;
    AreaHeight = height;
    Resize();
}

void TDiagramView::SetZoom(double zoom) {
    CurrentZoom = zoom;
    Resize();
    Refresh();
}

void TDiagramView::Resize() {
    setFixedSize(static_cast<int>(std::lround(AreaWidth * CurrentZoom)),
                 static_cast<int>(std::lround(AreaHeight * CurrentZoom)));
}

void TDiagramView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (Shown == nullptr) {
        return;
    }
    if (Live) {
        painter.save();
        painter.scale(CurrentZoom, CurrentZoom);
        TQtCanvas canvas(painter, TCanvasQuality::cqSmooth);
        DrawPerception(*Shown, canvas, ModeFor(CurrentZoom, Enabled));
        painter.restore();
    } else {
        painter.drawPicture(0, 0, Recorded);
    }
    if (GuideShown) {
        painter.setPen(QPen(QColor(128, 0, 128), 1, Qt::DotLine));
        painter.drawLine(QLineF(Guide.p1() * CurrentZoom, Guide.p2() * CurrentZoom));
    }
}

void TDiagramView::SetLive(bool live) {
    if (Live != live) {
        Live = live;
        Refresh();
    }
}

void TDiagramView::SetGuide(QPoint from, QPoint to) {
    Guide = QLine(from, to);
    GuideShown = true;
    update();
}

void TDiagramView::ClearGuide() {
    GuideShown = false;
    update();
}

void TDiagramView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position() / CurrentZoom;
    emit PointerMoved(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y())));
}

}  // namespace kavo
