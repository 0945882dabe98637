#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kavo {

class TCanvas;
class TCase;

// One image that a save writes beside the case document: its name without folder and ".gif", its
// size in pixels, whether white is its transparent colour, and how to draw it on a white canvas of
// that size.
struct TCaseImage {
    std::string Name;
    int Width = 0;
    int Height = 0;
    bool WhiteTransparent = false;
    std::function<void(TCanvas&)> Draw;
};

// The images of the case in the order a save writes them: the fixed icons, the tag icons of the
// case and the picture of every analyst view and actor's perception. The pictures are laid out
// when the set is made; drawing refers to the case, which must outlive the set.
std::vector<TCaseImage> CaseImageSet(TCase& owningCase);
// The images of the set that analysis reports show: the fixed icons, the tag icons and the action
// range cells.
std::vector<TCaseImage> ReportImageSet(TCase& owningCase);

}  // namespace kavo
