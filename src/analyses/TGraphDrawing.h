#pragma once

#include <string>
#include <vector>

#include "model/TFont.h"
#include "model/TGeometry.h"

namespace kavo {

class TCanvas;
class TGraphModel;
struct TArrow;

// The picture of a dependency graph: the nodes on an ellipse that fits the picture with their
// names beside them, the caption above, a legend of the checked indicators below, and per arrow
// one line per checked indicator, side by side, as thick as the value's level on its scale.
class TGraphDrawing {
  public:
    explicit TGraphDrawing(const TGraphModel& graph) : Graph(graph) {}

    // The picture's size in pixels.
    int Width = 600;
    int Height = 400;
    // Blank space between a node and its arrows, pixels, at least 10.
    int Space = 20;
    // The face of all texts; names 8 point, the caption bold 10 point.
    std::string FontName = "MS Sans Serif";

    // Places the nodes for the picture's size; names are measured on the canvas.
    void Place(TCanvas& canvas);
    // Places the nodes, then draws the whole picture on white.
    void Draw(TCanvas& canvas);

    // Valid after Place.
    TPoint Position(std::size_t node) const { return Positions[node]; }
    TPoint Centre() const { return {CentreX, CentreY}; }

  private:
    struct TSegment {
        TPoint Start;
        TPoint End;
    };
    TFont Font(bool bold = false, int size = 8) const;
    void DrawNodes(TCanvas& canvas) const;
    void DrawTitle(TCanvas& canvas) const;
    void DrawLegend(TCanvas& canvas) const;
    void DrawArrow(TCanvas& canvas, const TArrow& arrow, std::size_t from, std::size_t to) const;
    TSegment Ends(TCanvas& canvas, const TArrow& arrow, std::size_t from, std::size_t to) const;
    bool OnVertical(std::size_t node) const;

    const TGraphModel& Graph;
    std::vector<TPoint> Positions;
    std::vector<double> Cosines;
    int CentreX = 0;
    int CentreY = 0;
};

}  // namespace kavo
