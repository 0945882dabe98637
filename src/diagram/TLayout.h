#pragma once

namespace kavo {

class TPerception;
class TRandom;

// The automatic layout of a perception's diagram, one step of an animation at a time: every link
// is a spring of rest length EdgeLength between the outlines of its boxes, near boxes push each
// other away, and every box centre stays inside the rectangle MinX..MaxX by MinY..MaxY. The boxes
// keep their velocities on their FiPs (LayoutVX, LayoutVY) from one step to the next.
class TLayout {
  public:
    static constexpr int kEdgeLengthMin = 50;
    static constexpr int kEdgeLengthMax = 250;
    // The largest move of a box per step along each axis, pixels.
    static constexpr int kMaxStep = 50;
    static constexpr int kMinY = 35;
    // The rectangle's size in tens of pixels: from this up to the drawing area's size.
    static constexpr int kMinSizeTens = 20;

    // Rest length of a link, pixels, kEdgeLengthMin..kEdgeLengthMax.
    int EdgeLength = 100;
    // The rectangle the box centres stay in, pixels.
    int MinX = 10;
    int MinY = kMinY;
    int MaxX = 0;
    int MaxY = 0;

    // Takes the perception's measures: MinX is half its widest box plus 10, so that no box
    // reaches the left edge, and the rectangle spans the case's whole drawing area.
    void Fit(const TPerception& perception);

    // One step: the springs and the pushes change the velocities, every box moves by its velocity
    // (at most kMaxStep along each axis, rounded to whole pixels) into the rectangle, and the
    // velocities are halved. The springs read the link end points of the last drawing; two boxes
    // on the same centre are told apart by draws from the generator.
    void Iterate(TPerception& perception, TRandom& random) const;
    // Iterate, then what drawing the diagram stores: the placement within the drawing area and the
    // end points of the links, so that the next step sees where the links now run.
    void Step(TPerception& perception, TRandom& random) const;

    // Steps from rest, as the desktop program's animation runs from the diagram it shows: the
    // placement and link end points of a drawing, then the steps. The same generator state
    // gives the same boxes.
    void Animate(TPerception& perception, int steps, TRandom& random) const;

    // Sets every velocity of the perception to zero, so that a new start begins at rest.
    static void Stop(TPerception& perception);
};

// Measures of how tangled a diagram is: the pairs of FiPs whose boxes overlap, and the pairs of
// links without a common FiP whose lines (between the box centres) cross.
int OverlappingBoxes(const TPerception& perception);
int CrossingLinks(const TPerception& perception);

}  // namespace kavo
