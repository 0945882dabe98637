#include "diagram/HitTest.h"

#include <cmath>
#include <cstdlib>

#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLevels.h"
#include "model/TLink.h"

namespace kavo {

bool HitFiP(const TFiP& fip, int x, int y) {
    const TFactor& factor = *fip.Factor;
    if (std::abs(x - fip.X) > factor.BoxWidth / 2 || std::abs(y - fip.Y) > factor.BoxHeight / 2) {
        return false;
    }
    if (factor.IsAction) {
        return true;
    }
    const double radius = factor.BoxHeight / 2.0;
    const double halfText = factor.TextWidth / 2.0;
    double endX = 0;
    if (x < fip.X - halfText) {
        endX = fip.X - halfText;
    } else if (x > fip.X + halfText) {
        endX = fip.X + halfText;
    } else {
        return true;
    }
    return std::hypot(x - endX, y - fip.Y) <= radius;
}

int HitRangeCell(const TFiP& fip, int x, int y) {
    if (!fip.Factor->IsAction) {
        return kNoLevel;
    }
    const int dx = x - fip.X;
    const int dy = y - fip.Y + fip.Factor->BoxHeight / 2;
    if (dy < 1 || dy > 10 || dx < -38 || dx > 37) {
        return kNoLevel;
    }
    return (dx + 39) / 11 - 3;
}

bool HitLink(const TLink& link, int x, int y) {
    return HitSegment(link.StartPoint, link.EndPoint, x, y);
}

bool HitSegment(TPoint s, TPoint e, int x, int y) {
    const double dx = e.X == s.X ? 0.1 : e.X - s.X;
    const double dy = e.Y - s.Y;
    const double px = x - s.X;
    const double py = y - s.Y;
    const double squaredLength = dx * dx + dy * dy;
    // (m, l) are the coordinates of the point along the line and across it.
    const double l = (dx * py - dy * px) / squaredLength;
    const double m = (px + dy * l) / dx;
    return m >= 0 && m <= 1 && l * l * squaredLength < 10;
}

}  // namespace kavo
