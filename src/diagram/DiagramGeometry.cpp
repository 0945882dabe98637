#include "diagram/DiagramGeometry.h"

#include <cmath>
#include <cstdlib>

#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"

namespace kavo {

namespace {

// Rounding halves to the even neighbour, as everywhere in the program.
int Round(double x) {
    return static_cast<int>(std::nearbyint(x));
}

int Trunc(double x) {
    return static_cast<int>(x);
}

// The outline of a FiP's box as links see it: for a rounded box the straight part is the label
// block (TextWidth) and the ends are circles of the box's height.
struct TOutline {
    TPoint Centre;
    int Height;
    int Width;
    int HalfBoxWidth;
    bool Rectangular;
};

TOutline OutlineOf(const TFiP& fip) {
    const TFactor& factor = *fip.Factor;
    return {{fip.X, fip.Y},
            DrawnBoxHeight(fip),
            factor.IsAction ? factor.BoxWidth : factor.TextWidth,
            factor.BoxWidth / 2,
            factor.IsAction};
}

// The point of the outline towards another point. The point on a rounded end lies `inset` pixels
// inside its circle.
TPoint OutlinePoint(const TOutline& box, TPoint towards, int inset) {
    const TPoint c = box.Centre;
    const int dx = towards.X - c.X;
    const int dy = towards.Y - c.Y;
    const int halfHeight = box.Height / 2;
    if (dx == 0) {
        return {c.X, dy > 0 ? c.Y + halfHeight : c.Y - halfHeight};
    }
    // |dy / dx| >= |h / w| without dividing: the line leaves through the top or the bottom.
    if (dy != 0 && std::abs(dy) * static_cast<long long>(std::abs(box.Width)) >=
                       std::abs(box.Height) * static_cast<long long>(std::abs(dx))) {
        return {c.X + Round(box.Height * 0.5 * dx / std::abs(dy)),
                dy > 0 ? c.Y + halfHeight : c.Y - halfHeight};
    }
    if (box.Rectangular) {
        return {dx > 0 ? c.X + box.HalfBoxWidth : c.X - box.HalfBoxWidth,
                c.Y + Round(box.Width * 0.5 * dy / std::abs(dx))};
    }
    const TPoint q{dx > 0 ? c.X + box.Width / 2 : c.X - box.Width / 2, c.Y};
    const int qx = towards.X - q.X;
    const int qy = towards.Y - q.Y;
    if (qx == 0) {
        return q;
    }
    const double slope = static_cast<double>(qy) / qx;
    const double k =
        std::sqrt((box.Height * static_cast<double>(box.Height) / 4) / (slope * slope + 1));
    const int kx = qx > 0 ? Trunc(k) - inset : inset - Trunc(k);
    return {q.X + kx, q.Y + Trunc(kx * static_cast<double>(qy) / qx)};
}

}  // namespace

bool HasOperatorTab(const TFiP& fip) {
    return fip.Operator != TOperator::opAdd && !fip.InLinks.empty();
}

int DrawnBoxHeight(const TFiP& fip) {
    return fip.Factor->BoxHeight + (HasOperatorTab(fip) ? 10 : 0);
}

bool BoxesOverlap(const TLink& link) {
    const TFiP& a = *link.FromFiP;
    const TFiP& b = *link.ToFiP;
    return std::abs(a.X - b.X) < (a.Factor->BoxWidth + b.Factor->BoxWidth) / 2 &&
           std::abs(a.Y - b.Y) < (a.Factor->BoxHeight + b.Factor->BoxHeight) / 2;
}

TLinkEnds LinkEndpoints(const TLink& link) {
    const TOutline a = OutlineOf(*link.FromFiP);
    const TOutline b = OutlineOf(*link.ToFiP);
    if (a.Centre.X == b.Centre.X) {
        if (b.Centre.Y > a.Centre.Y) {
            return {{a.Centre.X, a.Centre.Y + a.Height / 2},
                    {b.Centre.X, b.Centre.Y - b.Height / 2}};
        }
        return {{a.Centre.X, a.Centre.Y - a.Height / 2}, {b.Centre.X, b.Centre.Y + b.Height / 2}};
    }
    const TPoint start = OutlinePoint(a, b.Centre, 1);
    return {start, OutlinePoint(b, start, 0)};
}

TArrowHead ArrowHead(TPoint start, TPoint end, int size) {
    TArrowHead head{{end, end, end}, {0, 0}, 0};
    const double dx = end.X - start.X;
    const double dy = end.Y - start.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) {
        return head;
    }
    const double s = size;
    const double h = size / 2.0;
    head.Points[1] = {end.X - Round(s * dx / length + h * dy / length),
                      end.Y - Round(s * dy / length - h * dx / length)};
    head.Points[2] = {end.X - Round(s * dx / length - h * dy / length),
                      end.Y - Round(s * dy / length + h * dx / length)};
    head.BaseOffset = {Round(s * dx / length), Round(s * dy / length)};
    head.Length = length;
    return head;
}

}  // namespace kavo
