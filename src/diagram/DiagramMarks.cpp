#include "diagram/DiagramMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "diagram/DiagramColors.h"
#include "diagram/TCanvas.h"

namespace kavo {

namespace {

int Magnitude(int level) {
    return std::min(std::abs(level), 3);
}

TColor GoalMarkPenColor(int priority, bool crossed, bool greyed) {
    if (greyed) {
        return kSilver;
    }
    if (!crossed) {
        return kBlack;
    }
    if (priority <= 1) {
        return kRed;
    }
    return {static_cast<std::uint8_t>(std::max(255 - 24 * priority, 0)), 0, 0};
}

void DrawGoalTriangle(TCanvas& canvas, int x, int y, int level) {
    const int a = Magnitude(level);
    const int side = 4 * a + 4;
    const int height = static_cast<int>(std::nearbyint(side * std::sqrt(3.0) / 2));
    // Larger triangles reach further left, so that all of them look centred on the same spot.
    const int shift = 2 * a - 3;
    const int apexX = x + 2 * a + 2 - shift;
    const int left = x - shift;
    const int right = x + 4 * a + 4 - shift;
    if (level > 0) {
        const int base = y + height / 2 + 1;
        canvas.Polygon({{apexX, y - height / 2}, {left, base}, {right, base}});
    } else {
        const int base = y - height / 2 + 1;
        canvas.Polygon({{apexX, y + height / 2 + 2}, {left, base}, {right, base}});
    }
}

void DrawGoalCross(TCanvas& canvas, int x, int y, int level) {
    if (level == 0) {
        canvas.Line({x - 1, y - 4}, {x + 11, y + 8});
        canvas.Line({x - 1, y + 7}, {x + 11, y - 5});
        return;
    }
    const int a = Magnitude(level);
    const int v = level >= 3 ? 0 : level > 0 ? -1 : level - 1;
    canvas.Line({x - a, y - a - 2 + v}, {x + 11 + a, y + 9 + a + v});
    canvas.Line({x - a, y + 8 + a + v}, {x + 11 + a, y - 3 - a + v});
}

// The outline of a prospect mark, closed back to its first point.
std::vector<TPoint> ProspectOutline(int x, int y, int a, bool questionMark) {
    if (questionMark) {
        return {{x - 6, y - 7}, {x - 11, y - 2}, {x - 11, y - 1}, {x - 6, y + 4}, {x - 5, y + 4},
                {x, y - 1},     {x, y - 2},      {x - 5, y - 7},  {x - 6, y - 7}};
    }
    switch (a) {
        case 1:
            return {{x - 4, y - 5}, {x - 8, y - 1}, {x - 4, y + 3}, {x, y - 1}, {x - 4, y - 5}};
        case 2:
            return {{x - 6, y - 6}, {x - 11, y - 1}, {x - 11, y},    {x - 6, y + 5}, {x - 5, y + 5},
                    {x, y},         {x, y - 1},      {x - 5, y - 6}, {x - 6, y - 6}};
        default:
            return {{x - 7, y - 7}, {x - 14, y}, {x - 7, y + 7}, {x, y}, {x - 7, y - 7}};
    }
}

}  // namespace

void DrawGoalMark(TCanvas& canvas, int x, int y, int level, int priority, bool crossed,
                  bool underlined, bool greyed) {
    const TColor penColor = GoalMarkPenColor(priority, crossed, greyed);
    const int a = Magnitude(level);
    canvas.SetPen(penColor, priority);
    TColor fill = kWhite;
    if (level == 0) {
        canvas.SetBrush(fill, TBrushStyle::bsClear);
        canvas.Ellipse({x, y - 3, x + 10, y + 7});
        if (underlined) {
            canvas.SetPen(penColor, 2);
            canvas.Line({x, y + 10}, {x + 10, y + 10});
        }
    } else {
        fill = greyed ? kLightGray : GoalColor(level, priority);
        canvas.SetBrush(fill);
        DrawGoalTriangle(canvas, x, y, level);
        if (underlined) {
            canvas.SetPen(penColor, 2);
            canvas.Line({x, y + 2 * a + 6}, {x + 10, y + 2 * a + 6});
        }
    }
    canvas.SetBrush(fill, TBrushStyle::bsClear);
    if (crossed) {
        canvas.SetPen(penColor, 1);
        DrawGoalCross(canvas, x, y, level);
    }
    canvas.SetBrush(fill);
}

int GoalMarkLeftReach(int level, bool crossed) {
    const int a = Magnitude(level);
    const int shape = level == 0 ? 0 : 2 * a - 3;
    const int cross = !crossed ? 0 : level == 0 ? 1 : a;
    return std::max({shape, cross, 0});
}

void DrawProspectMark(TCanvas& canvas, int x, int y, int level, int uncertainty, bool greyed,
                      bool withText, const TFont& font) {
    const TColor color = greyed ? kSilver : UncertaintyColor(uncertainty);
    const int a = Magnitude(level);
    canvas.SetPen(color, 1);
    if (level == 0 && withText) {
        canvas.SetFont({"Small Fonts", 7, true, false}, color);
        canvas.TextOut({x - 8, y - 6}, "?");
        canvas.SetFont(font, kBlack);
        canvas.Polyline(ProspectOutline(x, y, a, true));
        return;
    }
    canvas.Polyline(ProspectOutline(x, y, a, false));
    canvas.FillRect({x - 3 * a - 2, y - 1, x - 2, y + a - 1}, color);
    if (level > 0) {
        canvas.FillRect({x - 2 * a - 2, y - a - 1, x - a - 2, y + 2 * a - 1}, color);
    }
}

void DrawRangeCell(TCanvas& canvas, TPoint topLeft, int level, TRangeCellState state) {
    const TColor ground = state == TRangeCellState::rcChosen ? kPurple : kSilver;
    const TColor symbol = state == TRangeCellState::rcChosen   ? kMagenta
                          : state == TRangeCellState::rcInside ? kBlack
                                                               : kWhite;
    const int x = topLeft.X;
    const int y = topLeft.Y;
    const int middle = kRangeCellSize / 2;
    canvas.FillRect({x, y, x + kRangeCellSize, y + kRangeCellSize}, ground);
    if (level == 0) {
        canvas.FillRect({x + 4, y + 3, x + 7, y + 4}, symbol);
        canvas.FillRect({x + 4, y + 7, x + 7, y + 8}, symbol);
        canvas.FillRect({x + 3, y + 4, x + 4, y + 7}, symbol);
        canvas.FillRect({x + 7, y + 4, x + 8, y + 7}, symbol);
        return;
    }
    // Bars 5, 7 and 9 pixels long for levels of magnitude 1, 2 and 3.
    const int half = Magnitude(level) + 1;
    canvas.FillRect({x + middle - half, y + middle, x + middle + half + 1, y + middle + 1}, symbol);
    if (level > 0) {
        canvas.FillRect({x + middle, y + middle - half, x + middle + 1, y + middle + half + 1},
                        symbol);
    }
}

}  // namespace kavo
