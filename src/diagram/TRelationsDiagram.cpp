#include "diagram/TRelationsDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "diagram/CaseIcons.h"
#include "diagram/DiagramColors.h"
#include "diagram/DiagramGeometry.h"
#include "diagram/HitTest.h"
#include "diagram/TCanvas.h"
#include "diagram/TOffsetCanvas.h"
#include "model/TActor.h"
#include "model/TCase.h"

namespace kavo {

namespace {

constexpr TColor kSelectedGrey{128, 128, 128};
constexpr int kLegendSample = 24;
constexpr int kLegendGap = 12;
constexpr int kRightMargin = 8;
// Squared distance from an actor's position within which the pointer is on the actor.
constexpr int kActorReach = 99;

int Round(double x) {
    return static_cast<int>(std::nearbyint(x));
}

TActorRelationType TypeAt(int index) {
    return static_cast<TActorRelationType>(index);
}

bool OnVertical(double cosine) {
    return std::abs(cosine) < 0.001;
}

}  // namespace

TColor RelationColor(TActorRelationType type, int strength) {
    switch (type) {
        case TActorRelationType::rtAffect:
            return strength > 0 ? TColor{0x20, 0xC0, 0x00} : TColor{0xC0, 0x00, 0x20};
        case TActorRelationType::rtCooperation:
            return strength > 0 ? TColor{0xF0, 0x90, 0x00} : kBlack;
        case TActorRelationType::rtDominance:
            return strength > 0 ? TColor{0x00, 0x00, 0xC0} : kBlack;
        case TActorRelationType::rtFrankness:
            return strength > 0 ? TColor{0xA0, 0x90, 0xC0} : kBlack;
    }
    return kBlack;
}

TRelationsDiagram::TRelationsDiagram(TCase& owningCase) : Case(owningCase) {}

TFont TRelationsDiagram::DrawingFont(bool bold, int size) const {
    return {Case.Font.Name, size, bold, false};
}

TActor* TRelationsDiagram::Focal() const {
    return FocalActor >= 0 && FocalActor < Case.ActorList.Size() ? Case.ActorList[FocalActor]
                                                                 : nullptr;
}

void TRelationsDiagram::Place() {
    const int n = Case.ActorList.Size();
    Positions.assign(static_cast<std::size_t>(n), {});
    Cosines.assign(static_cast<std::size_t>(n), 0);
    if (n == 0) {
        return;
    }
    const TFont font = DrawingFont();
    std::vector<int> widths;
    std::vector<double> sines;
    for (int k = 0; k < n; ++k) {
        widths.push_back(Case.Context().Measure.TextWidth(font, Case.ActorList[k]->ShortName));
        double degrees = -90.0 + k * 360.0 / n;
        if (n % 2 == 0) {
            degrees += 180.0 / n;
        }
        const double angle = degrees * std::numbers::pi / 180;
        Cosines[static_cast<std::size_t>(k)] = OnVertical(std::cos(angle)) ? 0 : std::cos(angle);
        sines.push_back(std::sin(angle));
    }
    int left = 0;
    int right = 0;
    if (n <= 2) {
        left = *std::max_element(widths.begin(), widths.end()) / 2 + 25;
        right = left;
    } else {
        // The margin of a side is set by the actor whose name reaches farthest beyond the
        // ellipse there.
        int leftReach = INT32_MIN;
        int rightReach = INT32_MIN;
        for (int k = 0; k < n; ++k) {
            const double cosine = Cosines[static_cast<std::size_t>(k)];
            const int slant = Round(std::abs(cosine) * 100);
            const int reach = widths[static_cast<std::size_t>(k)] + 25 + slant;
            int& best = cosine <= 0 ? leftReach : rightReach;
            if (reach > best) {
                best = reach;
                (cosine <= 0 ? left : right) = reach - slant;
            }
        }
    }
    const double lowest = *std::max_element(sines.begin(), sines.end()) * 100;
    const double allowance = 100 - lowest;
    const int rx = std::max(1, (Width - left - right) / 2);
    const int ry = (Height - 120) / 2;
    const int cx = left + rx;
    const int cy = (Round(ry * allowance / 100) + Height - 120) / 2 + 60;
    for (int k = 0; k < n; ++k) {
        const auto i = static_cast<std::size_t>(k);
        Positions[i] = {cx + Round(Cosines[i] * rx), cy + Round(sines[i] * ry)};
    }
}

bool TRelationsDiagram::PassesFilter(const TActorRelation& relation) const {
    const TActor* focal = Focal();
    if (focal == nullptr) {
        return true;
    }
    switch (Filter) {
        case TRelationFilter::rfNone:
            return true;
        case TRelationFilter::rfAll:
            return relation.From == focal || relation.To == focal;
        case TRelationFilter::rfOutgoing:
            return relation.From == focal;
        case TRelationFilter::rfIncoming:
            return relation.To == focal;
    }
    return true;
}

std::vector<TRelationsDiagram::TArrowLine> TRelationsDiagram::Arrows() const {
    std::vector<TArrowLine> arrows;
    for (const auto& relation : Case.Relations) {
        const int from = Case.ActorList.IndexOf(relation->From);
        const int to = Case.ActorList.IndexOf(relation->To);
        if (from < 0 || to < 0 || from == to || !PassesFilter(*relation) ||
            static_cast<std::size_t>(std::max(from, to)) >= Positions.size()) {
            continue;
        }
        const TPoint s = Position(from);
        const TPoint e = Position(to);
        const double dx = e.X - s.X;
        const double dy = e.Y - s.Y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length == 0) {
            continue;
        }
        const double ux = dx / length;
        const double uy = dy / length;
        const double sx = s.X + ux * TailDistance;
        const double sy = s.Y + uy * TailDistance;
        const double ex = e.X - ux * (TailDistance / 2);
        const double ey = e.Y - uy * (TailDistance / 2);
        // Several types between the same two actors lie side by side, to the left of the way.
        int offset = 4;
        for (int t = 0; t < kRelationTypeCount; ++t) {
            const int strength = (*relation)[TypeAt(t)];
            if (!VisibleTypes[static_cast<std::size_t>(t)] || strength == 0) {
                continue;
            }
            const double ox = uy * offset;
            const double oy = -ux * offset;
            arrows.push_back({{relation->From, relation->To, TypeAt(t)},
                              strength,
                              {Round(sx + ox), Round(sy + oy)},
                              {Round(ex + ox), Round(ey + oy)}});
            offset += std::abs(strength) + 1;
        }
    }
    return arrows;
}

void TRelationsDiagram::Draw(TCanvas& canvas) const {
    canvas.FillRect({0, 0, Width, Height}, kWhite);
    for (const TArrowLine& line : Arrows()) {
        DrawArrow(canvas, line);
    }
    // A relation of an actor with itself is a short stroke beside it.
    for (const auto& relation : Case.Relations) {
        const int actor = Case.ActorList.IndexOf(relation->From);
        if (relation->From != relation->To || actor < 0 || !PassesFilter(*relation) ||
            static_cast<std::size_t>(actor) >= Positions.size()) {
            continue;
        }
        const TPoint at = Position(actor);
        int offset = 0;
        for (int t = 0; t < kRelationTypeCount; ++t) {
            const int strength = (*relation)[TypeAt(t)];
            if (VisibleTypes[static_cast<std::size_t>(t)] && strength != 0) {
                canvas.SetPen(RelationColor(TypeAt(t), strength), 2);
                canvas.Line({at.X + 9 + offset, at.Y - 9}, {at.X + 15 + offset, at.Y - 15});
                offset += 4;
            }
        }
    }
    DrawActors(canvas);
    DrawTitle(canvas);
    DrawLegend(canvas);
    if (Drawing && Focal() != nullptr) {
        canvas.SetPen(kPurple, 1, TPenStyle::psDot);
        canvas.Line(Position(FocalActor), Pointer);
    }
    canvas.SetPen(kBlack);
    canvas.SetBrush(kWhite);
}

void TRelationsDiagram::DrawArrow(TCanvas& canvas, const TArrowLine& line) const {
    const int width = std::abs(line.Strength) + 1;
    if (Selected && *Selected == line.Arrow) {
        canvas.SetPen(kSelectedGrey, width + 2);
        canvas.Line(line.Start, line.End);
    }
    const TColor color = RelationColor(line.Arrow.Type, line.Strength);
    canvas.SetPen(color, width);
    canvas.Line(line.Start, line.End);
    const TArrowHead head = ArrowHead(line.Start, line.End, width / 3 + 9);
    canvas.Line(head.Points[1], head.Points[0]);
    canvas.Line(head.Points[2], head.Points[0]);
}

void TRelationsDiagram::DrawActors(TCanvas& canvas) const {
    for (int k = 0; k < static_cast<int>(Positions.size()); ++k) {
        const TActor& actor = *Case.ActorList[k];
        const TPoint at = Position(k);
        TOffsetCanvas icon(canvas, {at.X - 7, at.Y - 7});
        DrawCaseIcon(icon, TCaseIcon::ciActor);
        const bool focal = k == FocalActor;
        canvas.SetFont(DrawingFont(focal), focal ? kPurple : kBlack);
        const int width = canvas.TextWidth(actor.ShortName);
        const int height = canvas.TextHeight(actor.ShortName);
        const double cosine = Cosines[static_cast<std::size_t>(k)];
        TPoint corner;
        if (OnVertical(cosine)) {
            corner = {at.X - width / 2, k == 0 ? at.Y - 10 - height : at.Y + 10};
        } else if (cosine > 0) {
            corner = {at.X + 9, at.Y - height / 2};
        } else {
            corner = {at.X - 10 - width, at.Y - height / 2};
        }
        canvas.TextOut(corner, actor.ShortName);
    }
}

void TRelationsDiagram::DrawTitle(TCanvas& canvas) const {
    canvas.SetFont(DrawingFont(true, 10), kBlack);
    const std::string title = "Actor relations in " + Case.Name;
    canvas.TextOut({Width - kRightMargin - canvas.TextWidth(title), 4}, title);
    const int below = 4 + canvas.TextHeight(title) + 2;
    canvas.SetFont(DrawingFont(), kBlack);
    const TActor* focal = Focal();
    if (focal == nullptr || Filter == TRelationFilter::rfNone) {
        return;
    }
    const std::string subtitle = Filter == TRelationFilter::rfAll
                                     ? "(relations involving " + focal->Name + " only)"
                                 : Filter == TRelationFilter::rfIncoming
                                     ? "(relations from others towards " + focal->Name + " only)"
                                     : "(relations from " + focal->Name + " to others only)";
    canvas.TextOut({Width - kRightMargin - canvas.TextWidth(subtitle), below}, subtitle);
}

void TRelationsDiagram::DrawLegend(TCanvas& canvas) const {
    struct TEntry {
        std::string Label;
        TColor Color;
    };
    std::vector<TEntry> entries;
    for (int t = 0; t < kRelationTypeCount; ++t) {
        if (!VisibleTypes[static_cast<std::size_t>(t)]) {
            continue;
        }
        if (TypeAt(t) == TActorRelationType::rtAffect) {
            entries.push_back({"Positive affect", RelationColor(TypeAt(t), 1)});
            entries.push_back({"Negative affect", RelationColor(TypeAt(t), -1)});
        } else {
            entries.push_back({RelationTypeName(TypeAt(t)), RelationColor(TypeAt(t), 1)});
        }
    }
    // One row along the bottom, in the band the ellipse leaves free there.
    canvas.SetFont(DrawingFont(), kBlack);
    int total = 0;
    for (const TEntry& entry : entries) {
        total += kLegendSample + 6 + canvas.TextWidth(entry.Label) + kLegendGap;
    }
    int x = Width - kRightMargin - total + kLegendGap;
    for (const TEntry& entry : entries) {
        const int height = canvas.TextHeight(entry.Label);
        const int top = Height - 8 - height;
        const TPoint from{x, top + height / 2};
        const TPoint to{x + kLegendSample, top + height / 2};
        canvas.SetPen(entry.Color, 2);
        canvas.Line(from, to);
        const TArrowHead head = ArrowHead(from, to, 7);
        canvas.Line(head.Points[1], head.Points[0]);
        canvas.Line(head.Points[2], head.Points[0]);
        canvas.TextOut({to.X + 6, top}, entry.Label);
        x = to.X + 6 + canvas.TextWidth(entry.Label) + kLegendGap;
    }
}

int TRelationsDiagram::ActorAt(int x, int y) const {
    for (int k = 0; k < static_cast<int>(Positions.size()); ++k) {
        const int dx = x - Positions[static_cast<std::size_t>(k)].X;
        const int dy = y - Positions[static_cast<std::size_t>(k)].Y;
        if (dx * dx + dy * dy <= kActorReach) {
            return k;
        }
    }
    return -1;
}

std::optional<TRelationArrow> TRelationsDiagram::ArrowAt(int x, int y) const {
    for (const TArrowLine& line : Arrows()) {
        if (HitSegment(line.Start, line.End, x, y)) {
            return line.Arrow;
        }
    }
    return std::nullopt;
}

int TRelationsDiagram::StrengthOf(const TRelationArrow& arrow) const {
    const int index = Case.FindRelation(arrow.From, arrow.To);
    return index < 0 ? 0 : (*Case.Relations[static_cast<std::size_t>(index)])[arrow.Type];
}

const TRelationArrow* TRelationsDiagram::SelectedArrow() {
    if (Selected && StrengthOf(*Selected) == 0) {
        Selected.reset();
    }
    return Selected ? &*Selected : nullptr;
}

void TRelationsDiagram::Press(int x, int y) {
    Pointer = {x, y};
    FocalActor = ActorAt(x, y);
    if (FocalActor < 0) {
        Filter = TRelationFilter::rfNone;
        Selected = ArrowAt(x, y);
    } else {
        Selected.reset();
    }
    Drawing = FocalActor >= 0 && ChosenType.has_value();
}

std::optional<TRelationRequest> TRelationsDiagram::Release(int x, int y) {
    Pointer = {x, y};
    if (Drawing) {
        Drawing = false;
        const int target = ActorAt(x, y);
        TActor* from = Focal();
        if (target >= 0 && target != FocalActor && from != nullptr && ChosenType) {
            TActor* to = Case.ActorList[target];
            const bool affect = *ChosenType == TActorRelationType::rtAffect;
            const int strength = affect ? (NegativeAffect ? -Strength : Strength) : 1;
            FocalActor = -1;
            Filter = TRelationFilter::rfNone;
            Selected = TRelationArrow{from, to, *ChosenType};
            return TRelationRequest{from, to, *ChosenType, strength};
        }
        return std::nullopt;
    }
    if (const TRelationArrow* arrow = SelectedArrow()) {
        ChosenType = arrow->Type;
        const int strength = StrengthOf(*arrow);
        NegativeAffect = arrow->Type == TActorRelationType::rtAffect && strength < 0;
        Strength = arrow->Type == TActorRelationType::rtAffect ? std::abs(strength) : 1;
    }
    return std::nullopt;
}

std::optional<TRelationRequest> TRelationsDiagram::StrengthChanged(int strength) {
    Strength = std::clamp(strength, 1, 5);
    const TRelationArrow* arrow = SelectedArrow();
    if (arrow == nullptr || arrow->Type != TActorRelationType::rtAffect ||
        ChosenType != TActorRelationType::rtAffect) {
        return std::nullopt;
    }
    return TRelationRequest{arrow->From, arrow->To, arrow->Type,
                            NegativeAffect ? -Strength : Strength};
}

std::optional<TRelationRequest> TRelationsDiagram::DeleteSelected() {
    const TRelationArrow* arrow = SelectedArrow();
    if (arrow == nullptr) {
        return std::nullopt;
    }
    const TRelationRequest request{arrow->From, arrow->To, arrow->Type, 0};
    Selected.reset();
    return request;
}

}  // namespace kavo
