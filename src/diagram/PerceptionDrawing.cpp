#include "diagram/PerceptionDrawing.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "diagram/DiagramColors.h"
#include "diagram/DiagramGeometry.h"
#include "diagram/DiagramMarks.h"
#include "diagram/TCanvas.h"
#include "model/Formats.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo {

namespace {

constexpr int kMargin = 15;
constexpr int kArrowSize = 9;
const TFont kSmallFont{"Small Fonts", 7, false, false};

int Round(double x) {
    return static_cast<int>(std::nearbyint(x));
}

template <typename T>
bool IsSelected(const TPerception* perception, const T* item, TDrawMode mode) {
    if (perception == nullptr || !ShowsSelection(mode)) {
        return false;
    }
    return std::any_of(perception->Selection.begin(), perception->Selection.end(),
                       [item](const TPerceptionItem& selected) {
                           const auto* held = std::get_if<T*>(&selected);
                           return held != nullptr && *held == item;
                       });
}

// A label line as drawn: trimmed, with "_" shown as a blank.
std::string LabelText(std::string_view line) {
    return ShownName(Trim(line));
}

void TextCentredOn(TCanvas& canvas, int x, int y, const std::string& text) {
    canvas.TextOut({x - canvas.TextWidth(text) / 2, y}, text);
}

// The round value of a factor in a simulation round: a percentage of the base level without the
// "%", marked with "+" while a change is still pending. None outside the rounds after round 0.
std::optional<std::string> RoundValueText(const TFiP& fip, const TCase& owningCase) {
    const TArena* arena = fip.Perception != nullptr ? fip.Perception->ArenaOwner() : nullptr;
    if (arena == nullptr || fip.Factor->IsAction || owningCase.BaseLevel == 0 ||
        !arena->Name.starts_with("*Round") || arena->Name == "*Round  0") {
        return std::nullopt;
    }
    std::string text = FormatPercent(fip.RoundValue / owningCase.BaseLevel);
    text.pop_back();
    if (fip.PendingChange != 0) {
        text += '+';
    }
    return text;
}

// What drawing one FiP reads, worked out once.
struct TBox {
    TBox(const TFiP& fip, TCanvas& canvas, TDrawMode mode)
        : FiP(fip),
          Factor(*fip.Factor),
          Case(*fip.Factor->Case),
          Canvas(canvas),
          Goal(fip.Perception != nullptr ? fip.Perception->GoalOf(&fip) : nullptr),
          Prospect(fip.Perception != nullptr ? fip.Perception->ProspectOf(&fip) : nullptr),
          X(fip.X),
          Y(fip.Y),
          W(Factor.BoxWidth),
          T(Factor.TextWidth),
          H(Factor.BoxHeight),
          Tab(HasOperatorTab(fip)),
          DrawnHeight(DrawnBoxHeight(fip)),
          Top(Y - DrawnHeight / 2),
          Bottom(Y + DrawnHeight / 2),
          Greyed(IsGreyed(mode)),
          Text(DrawsText(mode)),
          Clipboard(mode == TDrawMode::dmClipboard),
          Selected(IsSelected(fip.Perception, &fip, mode)),
          SystemStyle(Case.Context().SystemDiagramStyle),
          TextColor(Greyed ? kSilver : kBlack) {}

    const TFiP& FiP;
    const TFactor& Factor;
    const TCase& Case;
    TCanvas& Canvas;
    const TGoal* Goal;
    const TProspect* Prospect;
    int X, Y, W, T, H;
    bool Tab;
    int DrawnHeight, Top, Bottom;
    bool Greyed, Text, Clipboard, Selected, SystemStyle;
    TColor TextColor;
    TColor Fill = kWhite;
    TColor PenColor = kGray;
    int PenWidth = 1;
};

void ChooseFill(TBox& box) {
    if (box.Goal == nullptr) {
        box.Fill = kWhite;
    } else if (box.Greyed) {
        box.Fill = kLightGray;
    } else {
        const TColor color = GoalColor(box.Goal->Level, box.Goal->Priority);
        box.Fill = box.Goal->GoalType == TGoalType::gtNegative ? color : Lighten(color);
    }
    box.Canvas.SetBrush(box.Fill);
}

void ChoosePen(TBox& box) {
    box.PenWidth = 1;
    if (box.Selected) {
        box.PenColor = box.Greyed ? kSilver : kPurple;
        box.PenWidth = 2;
    } else if (box.Greyed) {
        box.PenColor = kSilver;
    } else if (const auto code = box.Case.Context().ShowColorCodes ? ParseColorCode(box.FiP.Comment)
                                                                   : std::nullopt) {
        box.PenColor = code->Color;
        box.PenWidth = code->Width;
    } else {
        box.PenColor = box.FiP.Operator != TOperator::opAdd ? kDarkGray : kGray;
    }
    box.Canvas.SetPen(box.PenColor, box.PenWidth);
}

// A negative goal fills its box with a twelve-pointed shape that stops short of the box's outline.
void DrawGoalCloud(TBox& box) {
    const int x = box.X;
    const int y = box.Y;
    const int w = box.T;
    const int h = box.H;
    const int m = h % 2 + (box.Selected ? 1 : 0);
    const int t = y - h / 2 + m;
    const int b = y + h / 2 - 2;
    box.Canvas.SetPen(box.Fill, 1, TPenStyle::psClear);
    box.Canvas.SetBrush(box.Fill);
    box.Canvas.Polygon({{x - w / 2, t},
                        {x - 3 * w / 10, t},
                        {x, y - h / 8},
                        {x + 3 * w / 10, t},
                        {x + w / 2, t},
                        {x + w / 10, y},
                        {x + w / 2, b},
                        {x + 3 * w / 10, b},
                        {x, y + h / 8},
                        {x - 3 * w / 10, b},
                        {x - w / 2, b},
                        {x - w / 10, y}});
    box.Canvas.SetPen(box.PenColor, box.PenWidth);
}

void DrawShape(TBox& box) {
    if (box.Factor.IsAction) {
        box.Canvas.Rectangle({box.X - box.W / 2, box.Top, box.X + box.W / 2, box.Bottom});
        return;
    }
    const int half = box.T / 2 + box.DrawnHeight / 2;
    const TRect outline{box.X - half + 1, box.Top, box.X + half - 1, box.Bottom};
    const int corner = box.Factor.IsStock ? 12 : box.DrawnHeight;
    const bool negative = box.Goal != nullptr && box.Goal->GoalType == TGoalType::gtNegative;
    if (negative) {
        box.Canvas.SetBrush(kWhite);
    }
    box.Canvas.RoundRect(outline, corner, corner);
    if (negative) {
        DrawGoalCloud(box);
    }
}

void DrawRangeBar(TBox& box) {
    box.Canvas.FillRect(
        {box.X - box.W / 2 + 1, box.Top + 1, box.X + box.W / 2 - box.PenWidth, box.Top + 12},
        kSilver);
    if (box.Greyed) {
        return;
    }
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        const TRangeCellState state = level == box.FiP.ChosenLevel ? TRangeCellState::rcChosen
                                      : box.FiP.ActionRange[level] ? TRangeCellState::rcInside
                                                                   : TRangeCellState::rcOutside;
        DrawRangeCell(box.Canvas, {box.X - 39 + kRangeCellSize * (level + 3), box.Top + 1}, level,
                      state);
    }
}

void DrawOperatorTab(TBox& box) {
    static constexpr std::array<const char*, 4> kNames{"ADD", "MUL", "MIN", "MAX"};
    const bool action = box.Factor.IsAction;
    const int top = action ? box.Top + 12 : box.Top;
    box.Canvas.FillRect({box.X - 11, top, box.X + 12, top + (action ? 12 : 11)},
                        box.Greyed ? kSilver : kDarkGray);
    box.Canvas.SetFont(kSmallFont, kWhite);
    const std::string name = kNames[static_cast<std::size_t>(box.FiP.Operator) % kNames.size()];
    TextCentredOn(box.Canvas, box.X, action ? top + 1 : top, name);
    box.Canvas.SetFont(box.Case.Font, box.TextColor);
}

void DrawLabel(TBox& box) {
    TCanvas& canvas = box.Canvas;
    const int offset = !box.Tab ? 0 : box.Factor.IsAction ? 12 : 5;
    TFont font = box.Case.Font;
    if (box.SystemStyle) {
        font.Size += 3;
        canvas.SetFont(font, box.TextColor);
    }
    const int lineHeight = canvas.TextHeight("hg") + (box.SystemStyle ? 1 : 0);
    canvas.SetBrush(box.Fill, TBrushStyle::bsClear);
    const TActor* owner = box.Factor.Owner;
    const int lines = static_cast<int>(box.Factor.LabelLines.size()) + (owner != nullptr ? 1 : 0);
    int y = box.Factor.IsAction && box.Case.RangeBarShown
                ? box.Top + 13 + offset
                : box.Y + offset - lines * lineHeight / 2 - 1;
    for (const std::string& line : box.Factor.LabelLines) {
        TextCentredOn(canvas, box.X, y, LabelText(line));
        y += lineHeight;
    }
    if (owner != nullptr) {
        TFont ownerFont = font;
        ownerFont.Bold = true;
        ownerFont.Italic = box.Clipboard;
        canvas.SetFont(ownerFont, box.Greyed ? kSilver : kPurple);
        TextCentredOn(canvas, box.X, y, LabelText(owner->ShortName));
    }
    if (owner != nullptr || box.SystemStyle) {
        canvas.SetFont(box.Case.Font, box.TextColor);
    }
    canvas.SetBrush(box.Fill);
}

void DrawRoundValue(TBox& box) {
    const auto text = RoundValueText(box.FiP, box.Case);
    if (!text) {
        return;
    }
    box.Canvas.SetFont(kSmallFont, kBlue);
    const int right = box.X + box.T / 2 + box.H / 2 - 4;
    box.Canvas.TextOut({right - box.Canvas.TextWidth(*text), box.Y - 5}, *text);
    box.Canvas.SetFont(box.Case.Font, kBlack);
}

void DrawBoxGoalMark(TBox& box) {
    const TGoal& goal = *box.Goal;
    const int a = std::min(std::abs(static_cast<int>(goal.Level)), 3);
    const int room = (box.W - box.T) / 2;
    int x = box.X + box.T / 2 - (goal.Level == 0 ? 4 : 2 + a);
    const int spare = goal.Level == 0 ? room - 14 : room - 3 * a - 6;
    if (spare > 4) {
        x += spare / 2;
    }
    const bool custom = goal.GoalType == TGoalType::gtCustom;
    const bool crossed =
        goal.GoalType == TGoalType::gtNegative || (custom && goal.HighUtility <= 0);
    // The label lines end at least 5 pixels inside the label block; in a narrow box a large or
    // crossed mark would cover their ends, the owner line's among them, and moves right instead.
    const int textEnd = box.X + box.T / 2 - 5;
    const int reach = GoalMarkLeftReach(goal.Level, crossed);
    if (box.Text && x - reach < textEnd) {
        x = textEnd + reach;
    }
    DrawGoalMark(box.Canvas, x, box.Y + 1 - a / 2, goal.Level, goal.Priority, crossed, custom,
                 box.Greyed);
}

void DrawBoxProspectMark(TBox& box) {
    const TProspect& prospect = *box.Prospect;
    const int a = std::min(std::abs(static_cast<int>(prospect.Level)), 3);
    const int room = (box.W - box.T) / 2;
    int x = box.X - box.T / 2 + (prospect.Level == 0 ? 4 : 2 + a);
    const int spare = prospect.Level == 0 ? room - 14 : room - 3 * a - 6;
    if (spare > 4) {
        x -= spare / 2;
    }
    DrawProspectMark(box.Canvas, x, box.Y + 1 - a / 2, prospect.Level, prospect.Uncertainty,
                     box.Greyed, box.Text, box.Case.Font);
}

TPenStyle LinkPenStyle(int uncertainty) {
    switch (uncertainty) {
        case 1:
            return TPenStyle::psDash;
        case 2:
            return TPenStyle::psDashDot;
        case 3:
            return TPenStyle::psDot;
        default:
            return TPenStyle::psSolid;
    }
}

// The colour of a link that is not highlighted, and its line width.
TColor PlainLinkPen(const TLink& link, const TCase& owningCase, bool greyed, int& width) {
    width = 1;
    if (owningCase.Context().SystemDiagramStyle) {
        return kBlack;
    }
    if (greyed) {
        return kSilver;
    }
    if (owningCase.Context().ShowColorCodes) {
        if (const auto code = ParseColorCode(link.Comment)) {
            width = link.Uncertainty == 0 ? code->Width : 1;
            return code->Color;
        }
    }
    return UncertaintyColor(link.Uncertainty);
}

// A circled minus or plus near the tip, or with the system diagram's style a "+" or "-" beside
// the line; both grow with the link's strength.
void DrawLinkSign(TCanvas& canvas, const TLink& link, const TArrowHead& head, TColor color,
                  bool greyed) {
    const int s = std::clamp(static_cast<int>(link.Level), -3, 3);
    const int a = std::abs(s);
    const double dx = link.EndPoint.X - link.StartPoint.X;
    const double dy = link.EndPoint.Y - link.StartPoint.Y;
    const double length = head.Length;
    const TPoint tip = head.Points[0];
    int cx = tip.X - Round((3 * a + 12) * dx / length);
    int cy = tip.Y - Round((3 * a + 12) * dy / length);
    const TCase& owningCase = *link.FromFiP->Factor->Case;
    if (!owningCase.Context().SystemDiagramStyle) {
        canvas.SetBrush(kWhite);
        canvas.Ellipse(
            {cx - 2 * a - 2 + a / 3, cy - 2 * a - 2 + a / 3, cx + 2 * a + 2, cy + 2 * a + 2});
        canvas.SetBrush(color);
        canvas.FillRect({cx - a - 1, cy - 1, cx + 2 * a - 1, cy + a - 1}, color);
        if (s > 0) {
            canvas.FillRect({cx - 1, cy - s - 1, cx + s - 1, cy + 2 * s - 1}, color);
        }
        return;
    }
    const int along = Round(8 * dx / length);
    const int across = Round(8 * dy / length);
    cx += -along - across;
    cy += along - across;
    const int x1 = cx - 2 * a - 2 + a / 3;
    const int y1 = cy - 2 * a - 2 + a / 3;
    const int x2 = cx + 2 * a + 2;
    const int y2 = cy + 2 * a + 2;
    TFont font{"Courier New", owningCase.Font.Size + 5, true, false};
    canvas.SetFont(font, greyed ? kSilver : kBlack);
    canvas.SetBrush(color, TBrushStyle::bsClear);
    const int width = canvas.TextWidth("+");
    const int height = canvas.TextHeight("+");
    canvas.TextOut({(x1 + x2 - 1 - width) / 2, (y1 + y2 - 1 - height) / 2}, s > 0 ? "+" : "-");
    canvas.SetBrush(color);
    canvas.SetFont(owningCase.Font, greyed ? kSilver : kBlack);
}

}  // namespace

void DrawFiP(const TFiP& fip, TCanvas& canvas, TDrawMode mode) {
    if (fip.Factor->Case == nullptr) {
        return;
    }
    TBox box(fip, canvas, mode);
    canvas.SetFont(box.Case.Font, box.TextColor);
    ChooseFill(box);
    ChoosePen(box);
    DrawShape(box);
    const bool rangeBar = box.Factor.IsAction && box.Case.RangeBarShown;
    if (rangeBar) {
        DrawRangeBar(box);
    }
    // An action's tab lies below the place of its range bar, whether the bar is shown or not.
    if (box.Tab && (box.Factor.IsAction || box.Text)) {
        DrawOperatorTab(box);
    }
    if (box.Text) {
        DrawLabel(box);
        if (!box.Greyed) {
            DrawRoundValue(box);
        }
    }
    if (!box.SystemStyle && box.Goal != nullptr) {
        DrawBoxGoalMark(box);
    }
    if (!box.SystemStyle && box.Prospect != nullptr) {
        DrawBoxProspectMark(box);
    }
    canvas.SetPen(box.PenColor, 1);
    canvas.SetBrush(box.Fill);
}

bool StoreLinkPoints(TLink& link) {
    if (link.FromFiP->Factor->Case == nullptr || BoxesOverlap(link)) {
        return false;
    }
    const TLinkEnds ends = LinkEndpoints(link);
    const TArrowHead head = ArrowHead(ends.Start, ends.End, kArrowSize);
    link.StartPoint = ends.Start;
    link.EndPoint = ends.End;
    link.ArrowPoints.assign(head.Points.begin(), head.Points.end());
    return true;
}

void DrawLink(TLink& link, TCanvas& canvas, TDrawMode mode) {
    if (!StoreLinkPoints(link)) {
        return;
    }
    const TLinkEnds ends{link.StartPoint, link.EndPoint};
    const TArrowHead head = ArrowHead(ends.Start, ends.End, kArrowSize);

    const TCase& owningCase = *link.FromFiP->Factor->Case;
    const bool greyed = IsGreyed(mode);
    const bool uncertain = link.Uncertainty >= 1 && link.Uncertainty <= 3;
    const TPoint lineEnd{ends.End.X - head.BaseOffset.X, ends.End.Y - head.BaseOffset.Y};
    TColor color = kBlack;
    if (IsSelected(link.FromFiP->Perception, &link, mode)) {
        color = greyed ? kSilver : kPurple;
        canvas.SetPen(color, 2);
        canvas.Line(ends.Start, lineEnd);
        if (uncertain) {
            canvas.SetPen(color, 1, LinkPenStyle(link.Uncertainty));
            canvas.Line(ends.Start, lineEnd);
        }
    } else {
        int width = 1;
        color = PlainLinkPen(link, owningCase, greyed, width);
        const TPenStyle style = owningCase.Context().SystemDiagramStyle
                                    ? TPenStyle::psSolid
                                    : LinkPenStyle(link.Uncertainty);
        canvas.SetBrush(kWhite);
        canvas.SetPen(color, width, style);
        canvas.Line(ends.Start, lineEnd);
    }
    canvas.SetPen(color, 1);
    canvas.SetBrush(color);
    canvas.Polygon({head.Points.begin(), head.Points.end()});
    if (head.Length != 0 && link.Level != 0) {
        DrawLinkSign(canvas, link, head, color, greyed);
    }
}

namespace {

// The outer edges of the boxes: left, top, right and bottom.
TRect BoxBounds(const TPerception& perception) {
    TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const auto& fip : perception.FiPs) {
        const int halfWidth = fip->Factor->BoxWidth / 2;
        const int halfHeight = fip->Factor->BoxHeight / 2;
        bounds.Left = std::min(bounds.Left, fip->X - halfWidth);
        bounds.Top = std::min(bounds.Top, fip->Y - halfHeight);
        bounds.Right = std::max(bounds.Right, fip->X + halfWidth);
        bounds.Bottom = std::max(bounds.Bottom, fip->Y + halfHeight);
    }
    return bounds;
}

}  // namespace

TPoint AreaShift(const TPerception& perception) {
    const TCase* owningCase = perception.Case();
    if (owningCase == nullptr || perception.FiPs.empty()) {
        return {};
    }
    const TRect bounds = BoxBounds(perception);
    if (bounds.Left < 0 || bounds.Top < 0 || bounds.Right > owningCase->MaxWidth ||
        bounds.Bottom > owningCase->MaxHeight) {
        return {kMargin - bounds.Left, kMargin - bounds.Top};
    }
    return {};
}

void PlacePerception(TPerception& perception) {
    if (perception.Case() == nullptr || perception.FiPs.empty()) {
        perception.Extent = {0, 0, -1, -1};
        return;
    }
    const TPoint shift = AreaShift(perception);
    if (shift != TPoint{}) {
        for (const auto& fip : perception.FiPs) {
            fip->X += shift.X;
            fip->Y += shift.Y;
        }
    }
    const TRect bounds = BoxBounds(perception);
    perception.Extent = {0, 0, bounds.Right + kMargin, bounds.Bottom + kMargin};
}

void DrawPerception(TPerception& perception, TCanvas& canvas, TDrawMode mode) {
    const TCase* owningCase = perception.Case();
    if (owningCase == nullptr) {
        return;
    }
    canvas.SetFont(owningCase->Font, kBlack);
    PlacePerception(perception);
    for (const auto& link : perception.Links) {
        DrawLink(*link, canvas, mode);
    }
    for (const auto& fip : perception.FiPs) {
        DrawFiP(*fip, canvas, mode);
    }
}

}  // namespace kavo
