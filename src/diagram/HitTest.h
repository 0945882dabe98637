#pragma once

#include "model/TGeometry.h"

namespace kavo {

class TFiP;
class TLink;

// Whether a diagram point lies on a FiP's box: its rectangle for an action, the rectangle with
// rounded ends otherwise. The box is BoxWidth by BoxHeight, without the operator tab.
bool HitFiP(const TFiP& fip, int x, int y);
// The level -3..+3 of the range bar cell of an action under a diagram point, or kNoLevel; whether
// range bars are shown does not matter.
int HitRangeCell(const TFiP& fip, int x, int y);
// Whether a diagram point lies within the square root of 10 pixels of the link's line as it was
// last drawn.
bool HitLink(const TLink& link, int x, int y);
// The same for the line from s to e.
bool HitSegment(TPoint s, TPoint e, int x, int y);

}  // namespace kavo
