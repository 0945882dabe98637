#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <optional>

#include "diagram/TCanvas.h"

namespace kavo {

// How the canvas meets the pixels. Exact: antialiasing off, every primitive paints exactly the
// pixels of the raster conventions, as the images of a case need for their palettes. Smooth: for
// the screen, where the diagram is scaled by the zoom; antialiased, a pixel's outline runs through
// its centre, and thin lines stay at least one screen pixel wide however far the painter's
// transformation shrinks the drawing.
enum class TCanvasQuality { cqExact, cqSmooth };

// The core's canvas on a QPainter, which must stay active while the canvas is used; the canvas
// does not own it. The painter's transformation at the time of each call applies.
class TQtCanvas : public TCanvas {
  public:
    explicit TQtCanvas(QPainter& painter, TCanvasQuality quality = TCanvasQuality::cqExact);

    void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) override;
    void SetBrush(TColor color, TBrushStyle style = TBrushStyle::bsSolid) override;
    void SetFont(const TFont& font, TColor color) override;

    void Line(TPoint from, TPoint to) override;
    void Polyline(const std::vector<TPoint>& points) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void Rectangle(const TRect& box) override;
    void Ellipse(const TRect& box) override;
    void RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight) override;
    void FillRect(const TRect& box, TColor color) override;
    void TextOut(TPoint topLeft, const std::string& text) override;

    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;

  private:
    void UseShapeTools();
    // The box to hand to QPainter, or null when the box is empty. Qt's one-pixel outline covers
    // one more column and row than the box it is given, a fill alone exactly the box.
    static std::optional<QRect> ShapeBox(const TRect& box, bool outlined);
    // The box to hand to QPainter in smooth drawing, or null when the box is empty: an outline
    // runs through the centres of the box's outer pixels, a fill alone covers exactly the box.
    static std::optional<QRectF> SmoothShapeBox(const TRect& box, bool outlined);
    // One-pixel lines are drawn point by point: Qt leaves out the end with the larger
    // coordinate, whichever way the line runs, where the canvas leaves out the end point.
    bool IsThin() const;
    void StrokeThin(const std::vector<TPoint>& points, bool closed);
    // Appends the pixels from `from` up to but without `to`; step counts along the dash pattern.
    void AppendLinePixels(TPoint from, TPoint to, int& step, QList<QPoint>& pixels) const;
    bool PatternIsOn(int step) const;
    // Metrics of the current font, made when first needed after the font changed: making them
    // costs more than most drawing calls, and a diagram sets the same font again and again.
    const QFontMetrics& Metrics();

    QPainter& Painter;
    const bool Smooth;
    QPen Pen;
    QBrush Brush;
    TFont CurrentFont;
    QFont Font;
    std::optional<QFontMetrics> FontMetrics;
    QColor FontColor;
};

}  // namespace kavo
