#pragma once

#include <memory>
#include <vector>

#include "model/TFiP.h"
#include "model/TGeometry.h"
#include "model/TPerception.h"

namespace kavo {

class TArena;
class TEdit;
class TGoal;
class TLayout;
class TLink;
class TProspect;
class TRandom;

// The undoable changes of a perception's diagram, as its editing commands make them. Each records
// into the edit (see TEdit), names it unless it has a name, makes it about the perception (the
// window shows it after an undo) and brings the perception's cached results out of date as the
// change itself does, in both directions.

// Makes the selection these items, in this order.
void Select(TEdit& edit, TPerception& perception, std::vector<TPerceptionItem> items);

// Removals: an item leaves the selection first. A FiP takes its goals, prospects and links along.
void RemoveFiP(TEdit& edit, TPerception& perception, TFiP* fip);
void RemoveLink(TEdit& edit, TPerception& perception, TLink* link);
void RemoveGoal(TEdit& edit, TPerception& perception, TGoal* goal);
void RemoveProspect(TEdit& edit, TPerception& perception, TProspect* prospect);
// Removes the items from the last to the first, each once; an item that an earlier removal took
// along (the link of a removed FiP) is skipped.
void RemoveItems(TEdit& edit, TPerception& perception, const std::vector<TPerceptionItem>& items);

// Adds the FiP and selects it. When the perception shows its concept already, the existing FiP
// stays and is selected instead; a goal or prospect given with the new FiP then replaces the
// existing FiP's. Returns the FiP the perception shows for the concept.
TFiP* AddFiP(TEdit& edit, TPerception& perception, std::unique_ptr<TFiP> fip,
             std::unique_ptr<TGoal> goal = nullptr, std::unique_ptr<TProspect> prospect = nullptr);
// Adds the link and selects it; when the perception links the two FiPs in that direction already,
// the existing link stays and is selected. Returns the link the perception holds.
TLink* AddLink(TEdit& edit, TPerception& perception, std::unique_ptr<TLink> link);
// Gives the link the level, uncertainty, vector and distribution of values, and selects it.
void SetLinkValues(TEdit& edit, TPerception& perception, TLink& link, const TLink& values);
// Makes the goal the FiP's only goal (its FiP must be fip), or removes the FiP's goals when null;
// selects the FiP.
void SetGoal(TEdit& edit, TPerception& perception, TFiP& fip, std::unique_ptr<TGoal> goal);
// The same for prospects.
void SetProspect(TEdit& edit, TPerception& perception, TFiP& fip,
                 std::unique_ptr<TProspect> prospect);
// Removes the goals and prospects of the selected FiPs; false when they had none.
bool ClearGoalsAndProspects(TEdit& edit, TPerception& perception);
// How incoming influences combine at the FiP.
void SetOperator(TEdit& edit, TPerception& perception, TFiP& fip, TOperator op);

// Moves the FiPs by (dx, dy), then keeps the diagram within its drawing area as drawing would
// (see KeepInArea). Returns the shift that keeping it in the area added to every FiP.
TPoint MoveFiPs(TEdit& edit, TPerception& perception, const std::vector<TFiP*>& fips, int dx,
                int dy);
// Moves every FiP as the placement of a drawing would when a box lies outside the drawing area,
// so that drawing finds nothing to move; returns the shift, (0, 0) when none was needed.
TPoint KeepInArea(TEdit& edit, TPerception& perception);

// One step of the automatic layout (see TLayout::Step): the boxes move. Their velocities, which
// only the layout reads, are not part of the edit. Steps of one run are meant to merge into one
// edit (TEdit::MergeKey), "Automatic layout".
void LayOutStep(TEdit& edit, TPerception& perception, const TLayout& layout, TRandom& random);

// Empties the arena's analyst view and fills it with the union of its actors' perceptions, with
// averaged prospects and links and no goals (see MergeFrom). Whether to overwrite a view that is
// not empty is the caller's question.
void MergeIntoAnalystView(TEdit& edit, TArena& arena);

// A press on the range bar cell of level (-3..+3) of an action's FiP. Without choose the level is
// toggled in the range, and a chosen level taken out of the range is no longer chosen; with choose
// the level is put into the range and chosen, or un-chosen when it was chosen. With everywhere the
// same range entry and chosen level go to the FiPs of the concept in the arena's analyst view and
// in every actor's perception of the arena.
void PressRangeCell(TEdit& edit, TPerception& perception, TFiP& fip, int level, bool choose,
                    bool everywhere);

}  // namespace kavo
