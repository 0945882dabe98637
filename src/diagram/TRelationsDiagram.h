#pragma once

#include <array>
#include <optional>
#include <vector>

#include "diagram/TColor.h"
#include "model/TActorRelation.h"
#include "model/TFont.h"
#include "model/TGeometry.h"

namespace kavo {

class TActor;
class TCanvas;
class TCase;

// Which relations the view shows around the focal actor.
enum class TRelationFilter { rfNone, rfAll, rfOutgoing, rfIncoming };

// One type of one relation: the arrow a user points at or selects. Relations are named by their
// two actors, so that a relation removed and made again is still the same one.
struct TRelationArrow {
    TActor* From = nullptr;
    TActor* To = nullptr;
    TActorRelationType Type = TActorRelationType::rtAffect;
    friend bool operator==(const TRelationArrow&, const TRelationArrow&) = default;
};

// A change of a relation that a gesture asks for: the strength of one type (0 removes it).
struct TRelationRequest {
    TActor* From = nullptr;
    TActor* To = nullptr;
    TActorRelationType Type = TActorRelationType::rtAffect;
    int Strength = 0;
    friend bool operator==(const TRelationRequest&, const TRelationRequest&) = default;
};

// The colour of a relation type's arrow for a strength.
TColor RelationColor(TActorRelationType type, int strength);

// The actors of a case on an ellipse and the relations between them as coloured, directed
// arrows, one beside the other per type; with its gestures for choosing a focal actor, selecting
// an arrow and drawing a relation. It reads the case and never changes it: a gesture that changes
// a relation returns a request, which the caller carries out.
class TRelationsDiagram {
  public:
    explicit TRelationsDiagram(TCase& owningCase);

    // The picture's size; Place must run after a change.
    int Width = 600;
    int Height = 400;
    // The gap between an actor and the tail of its arrows, pixels, at least 20 (the head keeps
    // half of it).
    int TailDistance = 20;
    std::array<bool, kRelationTypeCount> VisibleTypes{true, true, true, true};
    TRelationFilter Filter = TRelationFilter::rfNone;

    // The tool: no type while choosing the focal actor, else the type of relation to draw, with
    // the affect's sign and the strength of the strength control (1..5).
    std::optional<TActorRelationType> ChosenType;
    bool NegativeAffect = false;
    int Strength = 1;

    // Index in the case's actors, or -1.
    int FocalActor = -1;
    std::optional<TRelationArrow> Selected;
    // A relation is being drawn from the focal actor to this point.
    bool Drawing = false;
    TPoint Pointer;

    // Places the actors on the ellipse that fits the picture; the names set the side margins.
    void Place();
    TPoint Position(int actor) const { return Positions[static_cast<std::size_t>(actor)]; }

    void Draw(TCanvas& canvas) const;

    // The first actor within the square root of 99 pixels of the point, or -1.
    int ActorAt(int x, int y) const;
    // The first arrow (relations in the case's order, filter applied, types in order) within the
    // square root of 10 pixels of the point.
    std::optional<TRelationArrow> ArrowAt(int x, int y) const;
    // The strength of an arrow's type in the case now, 0 when the relation is gone.
    int StrengthOf(const TRelationArrow& arrow) const;

    // A press: the actor under the pointer becomes the focal actor (none when there is none),
    // the arrow under it the selected one; drawing starts with a focal actor and a type chosen.
    void Press(int x, int y);
    // A release: a relation drawn onto another actor asks to set that type's strength, and then
    // selects it; otherwise a selected arrow switches the tool to its type and strength.
    std::optional<TRelationRequest> Release(int x, int y);
    // The strength control changed to 1..5: asks to set the selected affect's strength.
    std::optional<TRelationRequest> StrengthChanged(int strength);
    // Deleting the selected arrow asks to set its strength to 0, and selects nothing.
    std::optional<TRelationRequest> DeleteSelected();

    // The selected arrow when its relation still has that type, else clears the selection.
    const TRelationArrow* SelectedArrow();
    TActor* Focal() const;

  private:
    struct TArrowLine {
        TRelationArrow Arrow;
        int Strength;
        TPoint Start;
        TPoint End;
    };
    // The arrows to draw, in order, with their lines.
    std::vector<TArrowLine> Arrows() const;
    bool PassesFilter(const TActorRelation& relation) const;
    TFont DrawingFont(bool bold = false, int size = 8) const;
    void DrawActors(TCanvas& canvas) const;
    void DrawTitle(TCanvas& canvas) const;
    void DrawLegend(TCanvas& canvas) const;
    void DrawArrow(TCanvas& canvas, const TArrowLine& line) const;

    TCase& Case;
    std::vector<TPoint> Positions;
    std::vector<double> Cosines;
};

}  // namespace kavo
