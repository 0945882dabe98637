#pragma once

#include <cstddef>
#include <vector>

#include "diagram/TColor.h"

namespace kavo {

class TCanvas;
class TConcept;
class TTag;

inline constexpr int kTagIconSize = 16;

// Draws the 16 x 16 icon of a tag: the template tag shape on the ground colour (by default white,
// the transparent colour of the image), its light, mid and dark pixels painted in the tag's three
// colours.
void DrawTagIcon(TCanvas& canvas, const TTag& tag, TColor ground = kWhite);
void DrawTagIcon(TCanvas& canvas, TColor light, TColor mid, TColor dark);

// The icon of a concept's tags: the template in vertical stripes, one per tag in the concept's
// order, each in its tag's colours. Draws nothing for a concept without tags.
void DrawConceptTagIcon(TCanvas& canvas, const TConcept& item);
void DrawConceptTagIcon(TCanvas& canvas, const std::vector<TTag*>& tags);
// The last column of each stripe when n tags (n >= 1) share the icon: 14 for one tag; 6 and 14 for
// two; 4, 9 and 14 for three, and so on up to seven. More tags get stripes of even width, at most
// fifteen of one column each.
std::vector<int> TagStripeEnds(std::size_t n);

}  // namespace kavo
