#pragma once

#include <optional>

#include "simulation/TRoundReport.h"

namespace kavo {

class TArena;
class TCase;
class TEdit;

// The simulation's changes of a case as undoable edits. The questions before rounds are deleted
// ("Delete all simulation rounds?", "Delete round n and later?") are the caller's.

// "Initialize round 0": deletes every arena of the simulation and compiles the case into round 0.
TArena* InitializeRound0(TEdit& edit, TCase& owningCase);

// "Next round": executes the round after the previous one, replacing it and the later rounds when
// they exist. None after a warning when the round cannot start from there. A cancelled round
// changes nothing: the edit is taken back and the report says it was cancelled.
std::optional<TRoundReport> NextRound(TEdit& edit, TCase& owningCase, TArena* previous);

}  // namespace kavo
