#pragma once

#include "diagram/TColor.h"

namespace kavo {

class TCanvas;
class TTag;

inline constexpr int kTagIconSize = 16;

// Draws the 16 x 16 icon of a tag: the template tag shape on white (the transparent colour of the
// image), its light, mid and dark pixels painted in the tag's three colours.
void DrawTagIcon(TCanvas& canvas, const TTag& tag);
void DrawTagIcon(TCanvas& canvas, TColor light, TColor mid, TColor dark);

}  // namespace kavo
