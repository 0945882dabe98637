#pragma once

#include <string>
#include <vector>

#include "diagram/TColor.h"
#include "model/TFont.h"
#include "model/TGeometry.h"

namespace kavo {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psClear };
enum class TBrushStyle { bsSolid, bsClear };

// A drawing surface in integer pixels, y downwards. The conventions are those of a classic raster
// canvas: a line from A to B paints A but not B; rectangles and ellipses fill and outline the box
// from (Left, Top) to (Right, Bottom) with the right column and the bottom row left out; text is
// placed by the top-left corner of its box and never paints its background. Outlines use the pen,
// fills the brush; a clear pen draws no outline.
class TCanvas {
  public:
    virtual ~TCanvas() = default;

    virtual void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) = 0;
    virtual void SetBrush(TColor color, TBrushStyle style = TBrushStyle::bsSolid) = 0;
    virtual void SetFont(const TFont& font, TColor color) = 0;

    virtual void Line(TPoint from, TPoint to) = 0;
    virtual void Polyline(const std::vector<TPoint>& points) = 0;
    // Outlined with the pen and filled with the brush.
    virtual void Polygon(const std::vector<TPoint>& points) = 0;
    virtual void Rectangle(const TRect& box) = 0;
    virtual void Ellipse(const TRect& box) = 0;
    // A rectangle whose corners are quarters of an ellipse of the given width and height.
    virtual void RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight) = 0;
    // Fills the box with the colour, without outline and without changing the brush.
    virtual void FillRect(const TRect& box, TColor color) = 0;
    virtual void TextOut(TPoint topLeft, const std::string& text) = 0;

    // Measured in the current font.
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
};

}  // namespace kavo
