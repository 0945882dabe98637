#pragma once

#include <string_view>
#include <vector>

namespace kavo {

class TActor;
class TCase;
class TConcept;
class TEdit;
class TFactor;
class TTag;

// The undoable changes of a factor's kind and owner, the merge of two factors and the tagging of
// concepts. Each records into the edit (see TEdit) and names it unless it has a name.

// Gives the factor a new bare name, owner and kind in every perception at once: without an owner
// a plain factor named name; with one an action (isAction) or attribute of it, named name plus the
// owner's short name in brackets. An action is never a stock. A refused name (empty, taken, or
// text the case file cannot carry) changes nothing and returns false. A factor that becomes an
// action loses its goals in every perception, with a warning that counts them.
bool ChangeFactor(TEdit& edit, TCase& owningCase, TFactor& factor, std::string_view name,
                  TActor* owner, bool isAction);

// Merges the factor from into the factor into in every perception, then deletes from: into takes
// from's goal and prospect where it has none (never a goal when into is an action), and the links
// to and from it that it does not have yet (a link between the two is dropped). With invert the
// goals are mirrored, the prospects inverted and the links' levels and distributions negated.
void MergeFactors(TEdit& edit, TCase& owningCase, TFactor& from, TFactor& into, bool invert);

// Puts the tag on every target that lacks it (add), or takes it off every target that has it. A
// group that gains or loses a tag describes its new tag set in its comment.
void SetTag(TEdit& edit, const std::vector<TConcept*>& targets, TTag* tag, bool add);

}  // namespace kavo
