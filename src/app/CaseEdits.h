#pragma once

#include <string_view>

namespace kavo {

class TAiA;
class TArena;
class TCase;
class TCommentedObject;

// The changes of a case that the case window makes and the model has no operation of its own for.
// Each marks the case modified when it changes anything.

// Renames the case to the trimmed name; false, with nothing changed, for an empty name.
bool RenameCase(TCase& owningCase, std::string_view name);

// Makes the trimmed text the object's whole comment, one entry per line: the case document ends
// its lines with CR LF, so a line break kept inside an entry would be written bare.
void SetComment(TCase& owningCase, TCommentedObject& item, std::string_view text);

// Swaps the actor's place in the arena's action order with the actor one place before it
// (step -1) or after it (step +1); false when there is no such actor.
bool MovePriority(TCase& owningCase, TArena& arena, TAiA& record, int step);

}  // namespace kavo
