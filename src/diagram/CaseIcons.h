#pragma once

#include "model/TFiP.h"

namespace kavo {

class TCanvas;
class TGoal;

inline constexpr int kKindIconSize = 16;
inline constexpr int kGoalIconSize = 24;
inline constexpr int kLinkIconWidth = 32;
inline constexpr int kLinkIconHeight = 16;
inline constexpr int kRelationIconWidth = 24;
inline constexpr int kRelationIconHeight = 16;

// The 16 x 16 icons of the case document: kinds of concepts and the icons of analysis reports.
enum class TCaseIcon {
    ciNoTag,
    ciCase,
    ciArena,
    ciAnalyst,
    ciActor,
    ciFactor,
    ciAttribute,
    ciAction,
    ciStockFactor,
    ciStockAttribute,
    ciCount,
    ciPercent,
    ciSum,
    ciMean,
    ciStdDev,
    ciProVal,
    ciTactic,
    ciUtFunc,
    ciToZero,
    ciToPos,
    ciToNeg,
    ciDetail,
    ciPlot,
};

// Each icon fills its whole image, so the pictures are opaque on white, drawn in whole pixels.
void DrawCaseIcon(TCanvas& canvas, TCaseIcon icon);
// 24 x 24: a box outlined in the goal colour (red for a negative goal) and filled lighter, with
// the goal mark of the level (-3..+3) and priority (0..3), crossed for a negative goal.
void DrawGoalIcon(TCanvas& canvas, int level, int priority, bool negative);
// 24 x 24: the box of a custom goal, outlined red when its level is below 0, with its mark
// underlined and crossed when its highest utility is at most 0.
void DrawCustomGoalIcon(TCanvas& canvas, const TGoal& goal);
// 32 x 16: an arrow in the style of a link of the level (-3..+3) and uncertainty degree (0..3),
// with the link's sign in the middle.
void DrawLinkIcon(TCanvas& canvas, int level, int uncertainty);
// 24 x 24: the prospect mark of the level (-3..+3), certain.
void DrawProspectIcon(TCanvas& canvas, int level);
// 24 x 16: the relation of type 0 (affect, strength -5..+5 without 0), 1 cooperation,
// 2 dominance or 3 frankness between two actors.
void DrawRelationIcon(TCanvas& canvas, int type, int strength);
// 24 x 16: the operator tab of a FiP on white, the transparent colour of the image.
void DrawOperatorIcon(TCanvas& canvas, TOperator op);

}  // namespace kavo
