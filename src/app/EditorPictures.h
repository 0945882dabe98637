#pragma once

#include <Qt>

#include "reasoning/TProVal.h"

class QPainter;

namespace kavo {

class TCase;

// The pictures of the goal, prospect, link and utility editors.

// A face of 22 x 22 pixels for a utility -3..+3 with its top-left corner at (x, y): frowning red
// below 0, neutral yellow at 0, smiling green above, more so the further from 0.
void DrawUtilityFace(QPainter& painter, int x, int y, int utility);
// The goal marks of the upper strip: the chosen level's cell filled in its lightened goal colour,
// the other levels greyed.
void DrawGoalStrip(QPainter& painter, int chosenLevel, int priority, bool crossed, bool underlined);
// The probabilities of the lower strip of the prospect and link editors: each cell grey by its
// probability, with the percentage.
void DrawProbabilityStrip(QPainter& painter, const TProbVector& vector);
// The upper strip of the prospect editor (prospect marks) or of the link editor (arrows), the
// chosen level highlighted.
void DrawProspectStrip(QPainter& painter, int chosenLevel, const TCase& current);
void DrawLinkStrip(QPainter& painter, int chosenLevel);

// The uncertainty degree that the keys held during a press choose: Shift 1, else Ctrl 2, else
// Alt 3, else 0.
int UncertaintyOf(Qt::KeyboardModifiers modifiers);
// The keys that choose the uncertainty degree 0..3.
Qt::KeyboardModifiers ModifiersOfUncertainty(int uncertainty);
// Left and Right step the level, Up and Down the uncertainty degree; false when the step would
// leave the levels -3..+3 or the degrees 0..3, and then nothing is changed.
bool StepLevelOrUncertainty(int key, int& level, int& uncertainty);

}  // namespace kavo
