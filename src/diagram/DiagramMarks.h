#pragma once

#include "model/TFont.h"
#include "model/TGeometry.h"

namespace kavo {

class TCanvas;

inline constexpr int kRangeCellSize = 11;

// A cell of an action's range bar: a level outside the action range, inside it, or the level
// chosen in a round.
enum class TRangeCellState { rcOutside = 0, rcInside = 1, rcChosen = 2 };

// The mark of a goal for a change level (-3..+3) with priority 0..3: a circle for level 0, else a
// triangle pointing up or down that grows with the level, filled in the goal colour. A negative
// goal is crossed out, a custom goal underlined. (x, y) is the left end of the mark's middle.
void DrawGoalMark(TCanvas& canvas, int x, int y, int level, int priority, bool crossed,
                  bool underlined, bool greyed);
// How many pixels left of its x the goal mark reaches: the larger triangles and the cross do.
int GoalMarkLeftReach(int level, bool crossed);

// The mark of a prospect for a change level (-3..+3) and uncertainty degree 0..3: a diamond with
// a minus or plus sign that grow with the level, lying to the left of x. Level 0 shows "?", or
// without text a large empty diamond. The "?" is set in a small face; font (in black) is the font
// the canvas has afterwards.
void DrawProspectMark(TCanvas& canvas, int x, int y, int level, int uncertainty, bool greyed,
                      bool withText, const TFont& font);

// An 11 x 11 cell of the range bar with the symbol of its level: minus bars, a circle, plus signs.
void DrawRangeCell(TCanvas& canvas, TPoint topLeft, int level, TRangeCellState state);

}  // namespace kavo
