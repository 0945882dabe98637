#pragma once

#include "model/TLevels.h"

namespace kavo {

class TCanvas;
class TGoal;

inline constexpr int kHistogramIconWidth = 21;
inline constexpr int kHistogramIconHeight = 16;

// The parts that the histogram and utility icons share: white ground (the transparent colour of the
// image), a minus sign, a circle and a plus sign along the bottom and a silver baseline at y = 12.
void DrawIconFrame(TCanvas& canvas);
// Draws the 21 x 16 histogram icon of a probability vector: a bar per level -3..+3 over a silver
// baseline, between a minus and a plus sign, on white (the transparent colour of the image).
void DrawHistogramIcon(TCanvas& canvas, const TLevels<double>& vector);
// The 21 x 16 icon of a goal's utilities: a bar per level, 4 pixels per utility step, red below
// zero and green above, in the frame of the histogram icon.
void DrawUtilityIcon(TCanvas& canvas, const TGoal& goal);

}  // namespace kavo
