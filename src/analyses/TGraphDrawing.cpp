#include "analyses/TGraphDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analyses/TGraphModel.h"
#include "diagram/CaseIcons.h"
#include "diagram/DiagramGeometry.h"
#include "diagram/TCanvas.h"
#include "diagram/TOffsetCanvas.h"

namespace kavo {

namespace {

int Round(double x) {
    return static_cast<int>(std::lround(x));
}

// The legend's words around the arrow that shows the direction of the relations.
constexpr const char* kDirectionKey = "      A      B  ";
constexpr const char* kIndicatorGap = "        ";

}  // namespace

TFont TGraphDrawing::Font(bool bold, int size) const {
    return {FontName, size, bold, false};
}

bool TGraphDrawing::OnVertical(std::size_t node) const {
    return std::abs(Cosines[node]) < 0.001;
}

void TGraphDrawing::Place(TCanvas& canvas) {
    const std::size_t n = Graph.Nodes.size();
    Positions.assign(n, {});
    Cosines.assign(n, 0);
    if (n == 0) {
        CentreX = Width / 2;
        CentreY = Height / 2;
        return;
    }
    canvas.SetFont(Font(), kBlack);
    std::vector<double> sines(n);
    std::vector<int> widths(n);
    for (std::size_t i = 0; i < n; ++i) {
        double angle = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n) -
                       std::numbers::pi / 2;
        if (n % 2 == 0) {
            angle += std::numbers::pi / static_cast<double>(n);
        }
        Cosines[i] = std::cos(angle);
        sines[i] = std::sin(angle);
        widths[i] = canvas.TextWidth(Graph.Nodes[i]);
    }
    int left = 25;
    int right = 25;
    int allowance = 0;
    if (n == 1) {
        left = right = widths[0] / 2 + 25;
    } else if (n == 2) {
        // Both names stand beside their nodes, away from the centre.
        left = right = std::max(widths[0], widths[1]) + 25;
    } else {
        int slantLeft = 100;
        int slantRight = 100;
        double lowest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const int slant = std::abs(Round(100 * Cosines[i]));
            const int reach = slant + widths[i] + 25;
            if (Cosines[i] > 0 && reach > right) {
                right = reach;
                slantRight = slant;
            } else if (Cosines[i] <= 0 && reach > left) {
                left = reach;
                slantLeft = slant;
            }
            lowest = std::max(lowest, 100 * sines[i]);
        }
        left -= slantLeft;
        right -= slantRight;
        allowance = 100 - static_cast<int>(lowest);
    }
    // Names too long for the picture squeeze the ellipse to a point, never turn it inside out.
    const int rx = std::max(1, (Width - left - right) / 2);
    const int ry = (Height - 120) / 2;
    // The ellipse starts at the left margin, so the names on the left stay inside the picture.
    CentreX = rx + left;
    CentreY = (Round(ry * allowance / 100.0) + Height - 120) / 2 + 60;
    for (std::size_t i = 0; i < n; ++i) {
        Positions[i] = {CentreX + Round(Cosines[i] * rx), CentreY + Round(sines[i] * ry)};
    }
}

void TGraphDrawing::Draw(TCanvas& canvas) {
    Place(canvas);
    canvas.FillRect({0, 0, Width, Height}, kWhite);
    DrawNodes(canvas);
    DrawTitle(canvas);
    DrawLegend(canvas);
    for (const TArrow& arrow : Graph.Arrows) {
        const auto from = Graph.NodeIndex(arrow.FromNode);
        const auto to = Graph.NodeIndex(arrow.ToNode);
        if (from && to) {
            DrawArrow(canvas, arrow, *from, *to);
        }
    }
    canvas.SetPen(kBlack);
}

void TGraphDrawing::DrawNodes(TCanvas& canvas) const {
    for (std::size_t i = 0; i < Positions.size(); ++i) {
        const TPoint at = Positions[i];
        TOffsetCanvas icon(canvas, {at.X - 7, at.Y - 7});
        DrawCaseIcon(icon, TCaseIcon::ciActor);
        canvas.SetFont(Font(), kBlack);
        const std::string& name = Graph.Nodes[i];
        const int width = canvas.TextWidth(name);
        const int height = canvas.TextHeight(name);
        TPoint corner;
        if (OnVertical(i)) {
            corner = {at.X - width / 2, i == 0 ? at.Y - height - 10 : at.Y + 10};
        } else if (Cosines[i] > 0) {
            corner = {at.X + 9, at.Y - height / 2};
        } else {
            corner = {at.X - width - 10, at.Y - height / 2};
        }
        canvas.TextOut(corner, name);
    }
}

void TGraphDrawing::DrawTitle(TCanvas& canvas) const {
    canvas.SetFont(Font(true, 10), kBlack);
    canvas.TextOut({CentreX - canvas.TextWidth(Graph.Caption) / 2, 4}, Graph.Caption);
}

void TGraphDrawing::DrawLegend(TCanvas& canvas) const {
    canvas.SetFont(Font(), kBlack);
    std::string text;
    std::vector<std::pair<std::string, const TScale*>> keys;
    for (const TIndicator& indicator : Graph.Indicators) {
        if (indicator.Checked) {
            keys.emplace_back(text, &indicator.Scale);
            text += kIndicatorGap + indicator.Name;
        }
    }
    const std::string beforeDirection = text;
    text += kDirectionKey + Graph.Legend;
    const int height = canvas.TextHeight(text);
    // A legend wider than the picture starts at its left edge, so that the keys stay readable.
    const int left = std::max(4, CentreX - canvas.TextWidth(text) / 2);
    const int top = Height - height - 8;
    canvas.TextOut({left, top}, text);
    const int middle = top + height / 2;
    for (const auto& [before, scale] : keys) {
        const int x = left + canvas.TextWidth(before);
        if (scale->Symmetric) {
            canvas.SetPen(scale->PlotColor, 2);
            canvas.Line({x + 7, middle - 1}, {x + 15, middle - 1});
            canvas.SetPen(scale->NegativeColor, 2);
            canvas.Line({x + 7, middle + 1}, {x + 15, middle + 1});
        } else {
            canvas.SetPen(scale->PlotColor, 4);
            canvas.Line({x + 7, middle}, {x + 15, middle});
        }
    }
    // The arrow from A to B fills the middle of the blanks between the two letters.
    const int start = left + canvas.TextWidth(beforeDirection + "      A ");
    const int end = start + canvas.TextWidth("    ");
    canvas.SetPen(kBlack, 1);
    canvas.Line({start, middle}, {end, middle});
    canvas.Line({end, middle}, {end - 5, middle - 3});
    canvas.Line({end, middle}, {end - 5, middle + 3});
}

TGraphDrawing::TSegment TGraphDrawing::Ends(TCanvas& canvas, const TArrow& arrow, std::size_t from,
                                            std::size_t to) const {
    const TPoint a = Positions[from];
    if (from != to) {
        const TPoint b = Positions[to];
        const double dx = b.X - a.X;
        const double dy = b.Y - a.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length == 0) {
            return {a, b};
        }
        const double ux = dx / length;
        const double uy = dy / length;
        const int tail = std::max(10, Space);
        return {{a.X + Round(ux * tail), a.Y + Round(uy * tail)},
                {b.X - Round(ux * (tail / 2)), b.Y - Round(uy * (tail / 2))}};
    }
    // An arrow from a node to itself: a short vertical stub beside the node, wide enough for
    // the lines of all checked indicators.
    int thickness = 0;
    for (std::size_t i = 0; i < Graph.Indicators.size(); ++i) {
        const TIndicator& indicator = Graph.Indicators[i];
        if (indicator.Checked) {
            thickness += indicator.Scale.LevelOf(TGraphModel::ValueOf(arrow, i)) + 5;
        }
    }
    int x = a.X - CentreX;
    int y = a.Y - CentreY;
    if (OnVertical(from)) {
        canvas.SetFont(Font(), kBlack);
        const int label = canvas.TextHeight(Graph.Nodes[from]);
        x = CentreX + x + thickness / 2;
        y += y < 0 ? -label : label;
    } else if (Cosines[from] > 0) {
        x = CentreX + 13 + x + (y < 0 ? thickness : 0);
    } else {
        x = CentreX - 13 + x - (y >= 0 ? thickness : 0);
    }
    if (y < 0) {
        const TPoint end{x, CentreY - 13 + y};
        return {{x, end.Y - 20}, end};
    }
    const TPoint end{x, CentreY + 13 + y};
    return {{x, end.Y + 20}, end};
}

void TGraphDrawing::DrawArrow(TCanvas& canvas, const TArrow& arrow, std::size_t from,
                              std::size_t to) const {
    TSegment line = Ends(canvas, arrow, from, to);
    int distance = 4;
    for (std::size_t i = 0; i < Graph.Indicators.size(); ++i) {
        const TIndicator& indicator = Graph.Indicators[i];
        if (!indicator.Checked) {
            continue;
        }
        const std::string& value = TGraphModel::ValueOf(arrow, i);
        const int level = indicator.Scale.LevelOf(value);
        if (level < 1) {
            continue;
        }
        const TColor color = indicator.Scale.IsNegative(value) ? indicator.Scale.NegativeColor
                                                               : indicator.Scale.PlotColor;
        const int width = level == 1 ? 1 : level - 1;
        canvas.SetPen(color, width, level == 1 ? TPenStyle::psDot : TPenStyle::psSolid);
        // Each line moves sideways from the one before, so the lines of one arrow lie side by
        // side and the two directions between two nodes lie on either side of the straight line.
        const double dx = line.End.X - line.Start.X;
        const double dy = line.End.Y - line.Start.Y;
        if (dx != 0 || dy != 0) {
            const double k = std::sqrt(distance * distance / (dx * dx + dy * dy));
            distance += width;
            const TPoint shift{-Round(dy * k), Round(dx * k)};
            line.Start = {line.Start.X + shift.X, line.Start.Y + shift.Y};
            line.End = {line.End.X + shift.X, line.End.Y + shift.Y};
        }
        canvas.Line(line.Start, line.End);
        canvas.SetPen(color, width);
        const TArrowHead head = ArrowHead(line.Start, line.End, level / 3 + 9);
        canvas.Line(line.End, head.Points[1]);
        canvas.Line(line.End, head.Points[2]);
    }
    canvas.SetPen(kBlack);
}

}  // namespace kavo
