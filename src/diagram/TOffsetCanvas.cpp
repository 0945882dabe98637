#include "diagram/TOffsetCanvas.h"

namespace kavo {

void TOffsetCanvas::SetPen(TColor color, int width, TPenStyle style) {
    Target.SetPen(color, width, style);
}

void TOffsetCanvas::SetBrush(TColor color, TBrushStyle style) {
    Target.SetBrush(color, style);
}

void TOffsetCanvas::SetFont(const TFont& font, TColor color) {
    Target.SetFont(font, color);
}

void TOffsetCanvas::Line(TPoint from, TPoint to) {
    Target.Line(Moved(from), Moved(to));
}

void TOffsetCanvas::Polyline(const std::vector<TPoint>& points) {
    Target.Polyline(Moved(points));
}

void TOffsetCanvas::Polygon(const std::vector<TPoint>& points) {
    Target.Polygon(Moved(points));
}

void TOffsetCanvas::Rectangle(const TRect& box) {
    Target.Rectangle(Moved(box));
}

void TOffsetCanvas::Ellipse(const TRect& box) {
    Target.Ellipse(Moved(box));
}

void TOffsetCanvas::RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight) {
    Target.RoundRect(Moved(box), ellipseWidth, ellipseHeight);
}

void TOffsetCanvas::FillRect(const TRect& box, TColor color) {
    Target.FillRect(Moved(box), color);
}

void TOffsetCanvas::TextOut(TPoint topLeft, const std::string& text) {
    Target.TextOut(Moved(topLeft), text);
}

int TOffsetCanvas::TextWidth(const std::string& text) {
    return Target.TextWidth(text);
}

int TOffsetCanvas::TextHeight(const std::string& text) {
    return Target.TextHeight(text);
}

TPoint TOffsetCanvas::Moved(TPoint point) const {
    return {point.X + Offset.X, point.Y + Offset.Y};
}

TRect TOffsetCanvas::Moved(const TRect& box) const {
    return {box.Left + Offset.X, box.Top + Offset.Y, box.Right + Offset.X, box.Bottom + Offset.Y};
}

std::vector<TPoint> TOffsetCanvas::Moved(const std::vector<TPoint>& points) const {
    std::vector<TPoint> moved;
    moved.reserve(points.size());
    for (const TPoint& point : points) {
        moved.push_back(Moved(point));
    }
    return moved;
}

}  // namespace kavo
