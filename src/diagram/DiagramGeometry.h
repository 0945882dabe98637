#pragma once

#include <array>

#include "model/TGeometry.h"

namespace kavo {

class TFiP;
class TLink;

// A FiP whose operator is not ADD and that has an incoming link shows the operator in a tab.
bool HasOperatorTab(const TFiP& fip);
// The height of the FiP's box as drawn: the concept's box height, 10 pixels more with a tab.
int DrawnBoxHeight(const TFiP& fip);

// True when the boxes (BoxWidth by BoxHeight) of the link's two FiPs overlap.
bool BoxesOverlap(const TLink& link);

struct TLinkEnds {
    TPoint Start;
    TPoint End;
};

// Where a link leaves the outline of its source box and meets the outline of its target box, on
// the line between the centres; at a rounded end, on its circle.
TLinkEnds LinkEndpoints(const TLink& link);

// The head of an arrow from start to end: the tip (the end point) and the two back corners, size
// pixels back along the line and size / 2 to either side; BaseOffset is the vector from the base
// of the head to the tip, Length the length of the line. A line of length 0 collapses the head
// onto its end point.
struct TArrowHead {
    std::array<TPoint, 3> Points;
    TPoint BaseOffset;
    double Length = 0;
};

TArrowHead ArrowHead(TPoint start, TPoint end, int size);

}  // namespace kavo
