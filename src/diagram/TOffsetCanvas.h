#pragma once

#include <string>
#include <vector>

#include "diagram/TCanvas.h"

namespace kavo {

// Draws onto another canvas with every point moved by an offset, so that a picture drawn from the
// origin (an icon, a histogram) can be placed anywhere.
class TOffsetCanvas : public TCanvas {
  public:
    TOffsetCanvas(TCanvas& target, TPoint offset) : Target(target), Offset(offset) {}

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
    TPoint Moved(TPoint point) const;
    TRect Moved(const TRect& box) const;
    std::vector<TPoint> Moved(const std::vector<TPoint>& points) const;

    TCanvas& Target;
    TPoint Offset;
};

}  // namespace kavo
