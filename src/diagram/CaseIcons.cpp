#include "diagram/CaseIcons.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "diagram/DiagramColors.h"
#include "diagram/DiagramMarks.h"
#include "diagram/TCanvas.h"
#include "diagram/TagIcon.h"
#include "model/TGoal.h"

namespace kavo {

namespace {

constexpr TColor kOutline{64, 64, 64};
constexpr TColor kAmber{208, 144, 32};
constexpr TColor kArenaBlue{48, 96, 192};
constexpr TColor kActorGreen{48, 144, 64};
constexpr TColor kAttributeFill{224, 240, 224};
constexpr TColor kActionFill{240, 224, 240};
constexpr TColor kStockLevel{128, 160, 208};
constexpr TColor kGreen{0, 160, 0};
constexpr TColor kOrange{224, 128, 0};

void Box(TCanvas& canvas, const TRect& box, TColor pen, TColor fill) {
    canvas.SetPen(pen);
    canvas.SetBrush(fill);
    canvas.Rectangle(box);
}

void Disc(TCanvas& canvas, const TRect& box, TColor pen, TColor fill) {
    canvas.SetPen(pen);
    canvas.SetBrush(fill);
    canvas.Ellipse(box);
}

void Lines(TCanvas& canvas, TColor color, const std::vector<TPoint>& points, int width = 1) {
    canvas.SetPen(color, width);
    canvas.Polyline(points);
}

void Triangle(TCanvas& canvas, TColor color, TPoint a, TPoint b, TPoint c) {
    canvas.SetPen(color);
    canvas.SetBrush(color);
    canvas.Polygon({a, b, c});
}

void DrawPerson(TCanvas& canvas) {
    Disc(canvas, {5, 1, 11, 7}, kOutline, kActorGreen);
    canvas.SetPen(kOutline);
    canvas.SetBrush(kActorGreen);
    canvas.RoundRect({3, 8, 13, 16}, 5, 5);
}

// A factor's box; a stock is square-cornered and filled to a level, as a tank.
void DrawFactorBox(TCanvas& canvas, TColor fill, bool stock) {
    canvas.SetPen(kBlack);
    canvas.SetBrush(fill);
    if (!stock) {
        canvas.RoundRect({0, 3, 16, 13}, 8, 8);
        return;
    }
    canvas.Rectangle({0, 3, 16, 13});
    canvas.FillRect({1, 8, 15, 12}, kStockLevel);
}

void DrawKindIcon(TCanvas& canvas, TCaseIcon icon) {
    switch (icon) {
        case TCaseIcon::ciNoTag:
            DrawTagIcon(canvas, kWhite, kWhite, kSilver);
            return;
        case TCaseIcon::ciCase:
            Box(canvas, {5, 2, 11, 7}, kOutline, kWhite);
            Box(canvas, {1, 5, 15, 14}, kOutline, kAmber);
            Lines(canvas, kOutline, {{1, 9}, {15, 9}});
            return;
        case TCaseIcon::ciArena:
            Disc(canvas, {1, 1, 15, 15}, kOutline, kArenaBlue);
            Disc(canvas, {5, 5, 11, 11}, kWhite, kWhite);
            return;
        case TCaseIcon::ciAnalyst:
            Disc(canvas, {1, 4, 15, 12}, kOutline, kWhite);
            Disc(canvas, {6, 5, 10, 11}, kArenaBlue, kArenaBlue);
            return;
        case TCaseIcon::ciActor:
            DrawPerson(canvas);
            return;
        case TCaseIcon::ciFactor:
            DrawFactorBox(canvas, kWhite, false);
            return;
        case TCaseIcon::ciAttribute:
            DrawFactorBox(canvas, kAttributeFill, false);
            return;
        case TCaseIcon::ciStockFactor:
            DrawFactorBox(canvas, kWhite, true);
            return;
        case TCaseIcon::ciStockAttribute:
            DrawFactorBox(canvas, kAttributeFill, true);
            return;
        case TCaseIcon::ciAction:
            Box(canvas, {0, 3, 16, 13}, kBlack, kActionFill);
            Triangle(canvas, kPurple, {6, 5}, {11, 8}, {6, 11});
            return;
        default:
            return;
    }
}

void DrawReportIcon(TCanvas& canvas, TCaseIcon icon) {
    switch (icon) {
        case TCaseIcon::ciCount:
            Lines(canvas, kBlack, {{5, 2}, {5, 14}});
            Lines(canvas, kBlack, {{10, 2}, {10, 14}});
            Lines(canvas, kBlack, {{2, 5}, {14, 5}});
            Lines(canvas, kBlack, {{2, 10}, {14, 10}});
            return;
        case TCaseIcon::ciPercent:
            Disc(canvas, {2, 2, 7, 7}, kBlack, kWhite);
            Disc(canvas, {9, 9, 14, 14}, kBlack, kWhite);
            Lines(canvas, kBlack, {{13, 2}, {2, 14}});
            return;
        case TCaseIcon::ciSum:
            Lines(canvas, kBlack, {{13, 3}, {13, 2}, {3, 2}, {8, 8}, {3, 14}, {13, 14}, {13, 12}});
            return;
        case TCaseIcon::ciMean:
            canvas.FillRect({3, 2, 13, 3}, kBlack);
            Lines(canvas, kBlack, {{4, 6}, {13, 15}});
            Lines(canvas, kBlack, {{12, 6}, {3, 15}});
            return;
        case TCaseIcon::ciStdDev:
            Disc(canvas, {2, 6, 11, 15}, kBlack, kWhite);
            canvas.FillRect({6, 6, 15, 7}, kBlack);
            return;
        case TCaseIcon::ciProVal:
            Lines(canvas, kSilver, {{1, 13}, {15, 13}});
            for (const auto& [x, top] :
                 std::array<std::pair<int, int>, 5>{{{2, 10}, {5, 6}, {8, 3}, {11, 7}, {14, 11}}}) {
                canvas.FillRect({x - 1, top, x + 1, 13}, kArenaBlue);
            }
            return;
        case TCaseIcon::ciTactic:
            Lines(canvas, kPurple, {{1, 14}, {6, 9}, {9, 12}, {13, 5}}, 2);
            Triangle(canvas, kPurple, {15, 1}, {10, 4}, {15, 7});
            return;
        case TCaseIcon::ciUtFunc:
            Lines(canvas, kSilver, {{0, 8}, {16, 8}});
            canvas.FillRect({1, 8, 4, 15}, kRed);
            canvas.FillRect({5, 8, 8, 11}, kRed);
            canvas.FillRect({8, 7, 11, 9}, kSilver);
            canvas.FillRect({12, 2, 15, 8}, kGreen);
            return;
        case TCaseIcon::ciToZero:
            Disc(canvas, {3, 3, 13, 13}, kBlack, kWhite);
            return;
        case TCaseIcon::ciToPos:
            canvas.FillRect({7, 6, 9, 15}, kGreen);
            Triangle(canvas, kGreen, {8, 1}, {2, 7}, {14, 7});
            return;
        case TCaseIcon::ciToNeg:
            canvas.FillRect({7, 1, 9, 10}, kRed);
            Triangle(canvas, kRed, {8, 14}, {2, 8}, {14, 8});
            return;
        case TCaseIcon::ciDetail:
            Disc(canvas, {1, 1, 11, 11}, kBlack, kWhite);
            Lines(canvas, kBlack, {{10, 10}, {15, 15}}, 2);
            return;
        case TCaseIcon::ciPlot:
            Lines(canvas, kBlack, {{2, 1}, {2, 14}, {16, 14}});
            Lines(canvas, kArenaBlue, {{3, 11}, {6, 7}, {9, 9}, {15, 3}});
            return;
        default:
            return;
    }
}

TPenStyle LinkPenStyle(int uncertainty) {
    static constexpr std::array<TPenStyle, 4> kStyles{TPenStyle::psSolid, TPenStyle::psDash,
                                                      TPenStyle::psDashDot, TPenStyle::psDot};
    return kStyles[static_cast<std::size_t>(std::clamp(uncertainty, 0, 3))];
}

void DrawGoalBox(TCanvas& canvas, TColor outline, int level, int priority) {
    Box(canvas, {0, 0, kGoalIconSize, kGoalIconSize}, outline, Lighten(GoalColor(level, priority)));
}

// Two arrow heads on a line between the actors.
void DrawAffect(TCanvas& canvas, int strength) {
    const TColor color = strength > 0 ? kGreen : kRed;
    Lines(canvas, color, {{4, 8}, {20, 8}});
    Triangle(canvas, color, {0, 8}, {4, 4}, {4, 12});
    Triangle(canvas, color, {23, 8}, {19, 4}, {19, 12});
    const int bars = std::min(std::abs(strength), 5);
    for (int i = 0; i < bars; ++i) {
        const int x = 12 - bars + 2 * i;
        canvas.FillRect({x, 4, x + 1, 13}, color);
    }
}

}  // namespace

void DrawCaseIcon(TCanvas& canvas, TCaseIcon icon) {
    canvas.FillRect({0, 0, kKindIconSize, kKindIconSize}, kWhite);
    if (icon < TCaseIcon::ciCount) {
        DrawKindIcon(canvas, icon);
    } else {
        DrawReportIcon(canvas, icon);
    }
    canvas.SetPen(kBlack);
    canvas.SetBrush(kWhite);
}

void DrawGoalIcon(TCanvas& canvas, int level, int priority, bool negative) {
    DrawGoalBox(canvas, negative ? kRed : GoalColor(level, priority), level, priority);
    DrawGoalMark(canvas, 7, 12, level, priority, negative, false, false);
}

void DrawCustomGoalIcon(TCanvas& canvas, const TGoal& goal) {
    DrawGoalBox(canvas, goal.Level < 0 ? kRed : GoalColor(goal.Level, goal.Priority), goal.Level,
                goal.Priority);
    DrawGoalMark(canvas, 7, 12, goal.Level, goal.Priority, goal.HighUtility <= 0, true, false);
}

void DrawLinkIcon(TCanvas& canvas, int level, int uncertainty) {
    canvas.FillRect({0, 0, kLinkIconWidth, kLinkIconHeight}, kWhite);
    const TColor color = UncertaintyColor(uncertainty);
    canvas.SetPen(color, 1, LinkPenStyle(uncertainty));
    canvas.Line({1, 7}, {25, 7});
    Triangle(canvas, color, {31, 7}, {24, 3}, {24, 11});
    // The sign of the diagram's links: a circled minus, with a plus bar for a positive level.
    const int s = std::clamp(level, -3, 3);
    const int a = std::abs(s);
    const int cx = 13;
    const int cy = 7;
    Disc(canvas, {cx - 2 * a - 2 + a / 3, cy - 2 * a - 2 + a / 3, cx + 2 * a + 2, cy + 2 * a + 2},
         color, kWhite);
    canvas.FillRect({cx - a - 1, cy - 1, cx + 2 * a - 1, cy + a - 1}, color);
    if (s > 0) {
        canvas.FillRect({cx - 1, cy - s - 1, cx + s - 1, cy + 2 * s - 1}, color);
    }
}

void DrawProspectIcon(TCanvas& canvas, int level) {
    canvas.FillRect({0, 0, kGoalIconSize, kGoalIconSize}, kWhite);
    DrawProspectMark(canvas, 19, 12, level, 0, false, true, TFont{});
}

void DrawRelationIcon(TCanvas& canvas, int type, int strength) {
    canvas.FillRect({0, 0, kRelationIconWidth, kRelationIconHeight}, kWhite);
    switch (type) {
        case 0:
            DrawAffect(canvas, strength);
            return;
        case 1:
            canvas.SetBrush(kWhite, TBrushStyle::bsClear);
            canvas.SetPen(kArenaBlue, 2);
            canvas.Ellipse({3, 3, 14, 14});
            canvas.Ellipse({10, 3, 21, 14});
            return;
        case 2:
            Triangle(canvas, kPurple, {3, 2}, {21, 8}, {3, 14});
            return;
        default:
            Box(canvas, {3, 1, 21, 11}, kOrange, kWhite);
            Triangle(canvas, kOrange, {7, 10}, {7, 15}, {12, 10});
            for (const int x : {8, 12, 16}) {
                canvas.FillRect({x - 1, 5, x + 1, 7}, kOrange);
            }
            return;
    }
}

void DrawOperatorIcon(TCanvas& canvas, TOperator op) {
    static constexpr std::array<const char*, 4> kNames{"ADD", "MUL", "MIN", "MAX"};
    canvas.FillRect({0, 0, kRelationIconWidth, kRelationIconHeight}, kWhite);
    canvas.FillRect({0, 2, kRelationIconWidth, 14}, kDarkGray);
    canvas.SetFont({"Small Fonts", 7, false, false}, kWhite);
    const std::string name = kNames[static_cast<std::size_t>(op) % kNames.size()];
    const int width = canvas.TextWidth(name);
    const int height = canvas.TextHeight(name);
    canvas.TextOut({(kRelationIconWidth - width) / 2, 2 + (12 - height) / 2}, name);
}

}  // namespace kavo
