#include "qtgui/TQtCanvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
    switch (style) {
        case TPenStyle::psSolid:
            return Qt::SolidLine;
        case TPenStyle::psDash:
            return Qt::DashLine;
        case TPenStyle::psDot:
            return Qt::DotLine;
        case TPenStyle::psDashDot:
            return Qt::DashDotLine;
        case TPenStyle::psClear:
            return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QPoint ToQPoint(TPoint point) {
    return {point.X, point.Y};
}

// Smooth drawing strokes through the centres of the pixels that the exact drawing paints.
QPolygonF ToCentres(const std::vector<TPoint>& points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TPoint& point : points) {
        polygon << QPointF(point.X + 0.5, point.Y + 0.5);
    }
    return polygon;
}

// How much the painter enlarges the drawing (below 1 when it shrinks it).
double ScaleOf(const QPainter& painter) {
    return std::sqrt(std::abs(painter.worldTransform().determinant()));
}

QPolygon ToQPolygon(const std::vector<TPoint>& points) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TPoint& point : points) {
        polygon << ToQPoint(point);
    }
    return polygon;
}

// The box with Left <= Right and Top <= Bottom, as a raster canvas accepts it either way round.
TRect Normalized(const TRect& box) {
    return {std::min(box.Left, box.Right), std::min(box.Top, box.Bottom),
            std::max(box.Left, box.Right), std::max(box.Top, box.Bottom)};
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter, TCanvasQuality quality)
    : Painter(painter),
      Smooth(quality == TCanvasQuality::cqSmooth),
      Font(ToQFont(CurrentFont)),
      FontColor(Qt::black) {
    Painter.setRenderHint(QPainter::Antialiasing, Smooth);
    Painter.setRenderHint(QPainter::TextAntialiasing, Smooth);
    SetPen(kBlack);
    SetBrush(kWhite);
}

void TQtCanvas::SetPen(TColor color, int width, TPenStyle style) {
    width = std::max(1, width);
    // A smooth pen grows and shrinks with the drawing, but a line never gets thinner than one
    // pixel of the device, where it would fade or break up.
    const bool thinnerThanPixel = Smooth && width * ScaleOf(Painter) < 1;
    Pen = QPen(ToQColor(color), thinnerThanPixel ? 1 : width, ToQtPenStyle(style));
    Pen.setCosmetic(!Smooth || thinnerThanPixel);
    // Wide lines end flat at their end points, as near as Qt comes to leaving the end point out.
    Pen.setCapStyle(Qt::FlatCap);
    Pen.setJoinStyle(Qt::MiterJoin);
}

void TQtCanvas::SetBrush(TColor color, TBrushStyle style) {
    Brush = style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(color));
}

void TQtCanvas::SetFont(const TFont& font, TColor color) {
    FontColor = ToQColor(color);
    if (font == CurrentFont) {
        return;
    }
    CurrentFont = font;
    Font = ToQFont(font);
    FontMetrics.reset();
}

const QFontMetrics& TQtCanvas::Metrics() {
    if (!FontMetrics) {
        FontMetrics.emplace(Font, Painter.device());
    }
    return *FontMetrics;
}

void TQtCanvas::UseShapeTools() {
    Painter.setPen(Pen);
    Painter.setBrush(Brush);
}

std::optional<QRect> TQtCanvas::ShapeBox(const TRect& box, bool outlined) {
    const TRect normal = Normalized(box);
    const int width = normal.Right - normal.Left;
    const int height = normal.Bottom - normal.Top;
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const int outline = outlined ? 1 : 0;
    return QRect(normal.Left, normal.Top, width - outline, height - outline);
}

std::optional<QRectF> TQtCanvas::SmoothShapeBox(const TRect& box, bool outlined) {
    const TRect normal = Normalized(box);
    const int width = normal.Right - normal.Left;
    const int height = normal.Bottom - normal.Top;
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    if (!outlined) {
        return QRectF(normal.Left, normal.Top, width, height);
    }
    return QRectF(normal.Left + 0.5, normal.Top + 0.5, width - 1, height - 1);
}

bool TQtCanvas::IsThin() const {
    return !Smooth && Pen.style() != Qt::NoPen && Pen.width() <= 1;
}

void TQtCanvas::StrokeThin(const std::vector<TPoint>& points, bool closed) {
    if (points.size() < 2) {
        return;
    }
    QList<QPoint> pixels;
    int step = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        AppendLinePixels(points[i], points[i + 1], step, pixels);
    }
    if (closed) {
        AppendLinePixels(points.back(), points.front(), step, pixels);
    }
    QPen dots(Pen.color(), 1, Qt::SolidLine, Qt::SquareCap);
    dots.setCosmetic(true);
    Painter.setPen(dots);
    Painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
}

void TQtCanvas::AppendLinePixels(TPoint from, TPoint to, int& step, QList<QPoint>& pixels) const {
    // Bresenham's line from the start up to but without the end point.
    const int dx = std::abs(to.X - from.X);
    const int dy = -std::abs(to.Y - from.Y);
    const int sx = from.X < to.X ? 1 : -1;
    const int sy = from.Y < to.Y ? 1 : -1;
    int error = dx + dy;
    int x = from.X;
    int y = from.Y;
    while (x != to.X || y != to.Y) {
        if (PatternIsOn(step++)) {
            pixels << QPoint(x, y);
        }
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y += sy;
        }
    }
}

bool TQtCanvas::PatternIsOn(int step) const {
    // The dash patterns of Qt's one-pixel pens, so thin and wide lines look alike.
    switch (Pen.style()) {
        case Qt::DashLine:
            return step % 6 < 4;
        case Qt::DotLine:
            return step % 3 == 0;
        case Qt::DashDotLine:
            return step % 9 < 4 || step % 9 == 6;
        default:
            return true;
    }
}

void TQtCanvas::Line(TPoint from, TPoint to) {
    Polyline({from, to});
}

void TQtCanvas::Polyline(const std::vector<TPoint>& points) {
    if (IsThin()) {
        StrokeThin(points, false);
        return;
    }
    UseShapeTools();
    if (Smooth) {
        Painter.drawPolyline(ToCentres(points));
    } else {
        Painter.drawPolyline(ToQPolygon(points));
    }
}

void TQtCanvas::Polygon(const std::vector<TPoint>& points) {
    if (Smooth) {
        UseShapeTools();
        Painter.drawPolygon(ToCentres(points));
        return;
    }
    if (!IsThin()) {
        UseShapeTools();
        Painter.drawPolygon(ToQPolygon(points));
        return;
    }
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Brush);
    Painter.drawPolygon(ToQPolygon(points));
    StrokeThin(points, true);
}

void TQtCanvas::Rectangle(const TRect& box) {
    if (Smooth) {
        if (const auto rect = SmoothShapeBox(box, Pen.style() != Qt::NoPen)) {
            UseShapeTools();
            Painter.drawRect(*rect);
        }
        return;
    }
    if (const auto rect = ShapeBox(box, Pen.style() != Qt::NoPen)) {
        UseShapeTools();
        Painter.drawRect(*rect);
    }
}

void TQtCanvas::Ellipse(const TRect& box) {
    if (Smooth) {
        if (const auto rect = SmoothShapeBox(box, Pen.style() != Qt::NoPen)) {
            UseShapeTools();
            Painter.drawEllipse(*rect);
        }
        return;
    }
    const auto rect = ShapeBox(box, true);
    if (!rect) {
        return;
    }
    if (Pen.style() != Qt::NoPen) {
        UseShapeTools();
    } else if (Brush.style() != Qt::NoBrush) {
        // Qt's fill alone misses the outermost rows of the box; an outline in the fill colour
        // covers them as the outline of a pen would.
        QPen outline(Brush.color(), 1);
        outline.setCosmetic(true);
        Painter.setPen(outline);
        Painter.setBrush(Brush);
    } else {
        return;
    }
    Painter.drawEllipse(*rect);
}

void TQtCanvas::RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight) {
    if (Smooth) {
        if (const auto rect = SmoothShapeBox(box, Pen.style() != Qt::NoPen)) {
            UseShapeTools();
            Painter.drawRoundedRect(*rect, ellipseWidth / 2.0, ellipseHeight / 2.0,
                                    Qt::AbsoluteSize);
        }
        return;
    }
    if (const auto rect = ShapeBox(box, Pen.style() != Qt::NoPen)) {
        UseShapeTools();
        Painter.drawRoundedRect(*rect, ellipseWidth / 2.0, ellipseHeight / 2.0, Qt::AbsoluteSize);
    }
}

void TQtCanvas::FillRect(const TRect& box, TColor color) {
    const TRect normal = Normalized(box);
    Painter.fillRect(QRect(QPoint(normal.Left, normal.Top),
                           QSize(normal.Right - normal.Left, normal.Bottom - normal.Top)),
                     ToQColor(color));
}

void TQtCanvas::TextOut(TPoint topLeft, const std::string& text) {
    if (Painter.font() != Font) {
        Painter.setFont(Font);
    }
    Painter.setPen(FontColor);
    Painter.drawText(QPoint(topLeft.X, topLeft.Y + Metrics().ascent()), ToQString(text));
}

int TQtCanvas::TextWidth(const std::string& text) {
    return Metrics().horizontalAdvance(ToQString(text));
}

int TQtCanvas::TextHeight(const std::string& /*text*/) {
    return Metrics().height();
}

}  // namespace kavo
