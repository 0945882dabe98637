#pragma once

#include "diagram/TDrawMode.h"
#include "model/TGeometry.h"

namespace kavo {

class TCanvas;
class TFiP;
class TLink;
class TPerception;

// The causal diagram of a perception: links first, then the boxes over their ends. When a box
// lies left of or above the origin, or the drawing is larger than the case's drawing area, every
// FiP is moved for good so that the leftmost and topmost box edges are 15 pixels from the origin.
// Sets the perception's Extent to the drawing with a margin of 15 pixels; a perception without
// FiPs draws nothing and gets an extent with negative right and bottom edges.
void DrawPerception(TPerception& perception, TCanvas& canvas, TDrawMode mode);
// The placement and the extent of DrawPerception without the drawing, to size a picture before it
// is drawn.
void PlacePerception(TPerception& perception);
// How far the placement of DrawPerception would move every FiP: (0, 0) when the boxes lie within
// the drawing area.
TPoint AreaShift(const TPerception& perception);

// One FiP's box with its label, range bar, operator tab, round value and the marks of the goal
// and prospect that the perception holds for it.
void DrawFiP(const TFiP& fip, TCanvas& canvas, TDrawMode mode);

// One link as an arrow with a sign mark, between the outlines of its boxes. Stores the end points
// and the arrowhead on the link for hit testing; a link whose boxes overlap is not drawn and keeps
// the points of its last drawing.
void DrawLink(TLink& link, TCanvas& canvas, TDrawMode mode);
// What DrawLink stores on the link, without drawing: false, with the points left as they were,
// when the boxes overlap.
bool StoreLinkPoints(TLink& link);

}  // namespace kavo
