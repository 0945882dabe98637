#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "diagram/TCanvas.h"

namespace kavo::test {

// A canvas that logs every call as one line of text, so drawings compare as text.
class TRecordingCanvas : public TCanvas {
  public:
    void SetPen(TColor color, int width, TPenStyle style) override {
        Log.push_back("pen " + Color(color) + " " + std::to_string(width) + " " +
                      std::to_string(static_cast<int>(style)));
    }
    void SetBrush(TColor color, TBrushStyle style) override {
        Log.push_back("brush " + Color(color) + " " + std::to_string(static_cast<int>(style)));
    }
    void SetFont(const TFont& font, TColor color) override {
        Log.push_back("font " + font.Name + " " + std::to_string(font.Size) +
                      (font.Bold ? " bold" : "") + (font.Italic ? " italic" : "") + " " +
                      Color(color));
    }
    void Line(TPoint from, TPoint to) override {
        Log.push_back("line " + Point(from) + " " + Point(to));
    }
    void Polyline(const std::vector<TPoint>& points) override {
        Log.push_back("polyline" + Points(points));
    }
    void Polygon(const std::vector<TPoint>& points) override {
        Log.push_back("polygon" + Points(points));
    }
    void Rectangle(const TRect& box) override { Log.push_back("rectangle " + Rect(box)); }
    void Ellipse(const TRect& box) override { Log.push_back("ellipse " + Rect(box)); }
    void RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight) override {
        Log.push_back("roundrect " + Rect(box) + " " + std::to_string(ellipseWidth) + "x" +
                      std::to_string(ellipseHeight));
    }
    void FillRect(const TRect& box, TColor color) override {
        Log.push_back("fill " + Rect(box) + " " + Color(color));
    }
    void TextOut(TPoint topLeft, const std::string& text) override {
        Log.push_back("text " + Point(topLeft) + " " + text);
    }
    int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * 6; }
    int TextHeight(const std::string&) override { return 13; }

    std::vector<std::string> Log;

  private:
    static std::string Color(TColor c) {
        return std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B);
    }
    static std::string Point(TPoint p) {
        return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
    }
    static std::string Points(const std::vector<TPoint>& points) {
        std::string text;
        for (const TPoint& p : points) {
            text += " " + Point(p);
        }
        return text;
    }
    static std::string Rect(const TRect& r) {
        return Point({r.Left, r.Top}) + "-" + Point({r.Right, r.Bottom});
    }
};

}  // namespace kavo::test
