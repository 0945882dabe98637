#pragma once

#include <cstdint>
#include <string_view>

#include "model/TActorRelation.h"

namespace kavo {

class TActor;
class TAiA;
class TArena;
class TCase;
struct TCaseOptions;
class TCommentedObject;
class TEdit;
class TFactor;
class TGroup;
class TTag;

// The undoable changes of a case's concepts, its names, comments and arenas. Each records what it
// does into the edit (see TEdit) and names the edit unless it has a name. An operation the naming
// rules refuse reports its warning through the case's messages, changes nothing and returns false
// (or null).

// Renames the case to the trimmed name; false, with nothing changed, for an empty name.
bool RenameCase(TEdit& edit, TCase& owningCase, std::string_view name);

// Makes the trimmed text the object's whole comment, one entry per line: the case document ends
// its lines with CR LF, so a line break kept inside an entry would be written bare.
void SetComment(TEdit& edit, TCommentedObject& item, std::string_view text);

// Swaps the actor's place in the arena's action order with the actor one place before it
// (step -1) or after it (step +1); false when there is no such actor. The two change places in
// the arena's list as well, so that the order is saved.
bool MovePriority(TEdit& edit, TArena& arena, TAiA& record, int step);

// Renames under the naming rules: "Name cannot be empty string", "Names must be unique" (without
// regard to letter case), and no text the case file cannot carry. The list stays sorted.
bool RenameTag(TEdit& edit, TCase& owningCase, TTag& tag, std::string_view name);
bool RenameArena(TEdit& edit, TCase& owningCase, TArena& arena, std::string_view name);
bool RenameGroup(TEdit& edit, TCase& owningCase, TGroup& group, std::string_view name);
// An action's or attribute's name carries its actor's short name; its box is laid out again.
bool RenameFactor(TEdit& edit, TCase& owningCase, TFactor& factor, std::string_view name);
// Renames the actor and gives its short name (the name when empty) to all its factors. A clash of
// short names is refused as a whole; a refused name still takes the short name (false then).
bool RenameActor(TEdit& edit, TCase& owningCase, TActor& actor, std::string_view name,
                 std::string_view shortName);

// Gives the tag the colours of its icon: light, mid and dark, each stored with red in the low byte.
void SetTagColors(TEdit& edit, TTag& tag, std::uint32_t light, std::uint32_t mid,
                  std::uint32_t dark);

// Deletions. Each takes along what refers to the deleted concept, and undo brings all of it back.
// A tag leaves every concept and group tag set that carries it.
void DeleteTag(TEdit& edit, TCase& owningCase, TTag* tag);
// A factor leaves every perception (with its goals, prospects and links) and its actor.
void DeleteFactor(TEdit& edit, TCase& owningCase, TFactor* factor);
// An actor leaves every arena, every relation, and takes its attributes and actions along.
void DeleteActor(TEdit& edit, TCase& owningCase, TActor* actor);
// An arena goes with its analyst view and its actors' perceptions.
void DeleteArena(TEdit& edit, TCase& owningCase, TArena* arena);
void DeleteGroup(TEdit& edit, TCase& owningCase, TGroup* group);
// The actor leaves the arena with its perception there; it stays in the case.
void DeleteActorFromArena(TEdit& edit, TArena& arena, TAiA* record);

// Creation, by the rules of the case's find or create: an existing concept is returned unchanged,
// a new one is recorded. Null after a warning when the name is refused, or for an empty name.
TTag* FindOrCreateTag(TEdit& edit, TCase& owningCase, std::string_view name);
TArena* FindOrCreateArena(TEdit& edit, TCase& owningCase, std::string_view name);
TActor* FindOrCreateActor(TEdit& edit, TCase& owningCase, std::string_view name,
                          std::string_view shortName);
TFactor* FindOrCreateFactor(TEdit& edit, TCase& owningCase, std::string_view name, bool isStock,
                            bool isAction, std::string_view shortName);
// Adds an actor, found or created by name, to the arena, as the case does.
TAiA* AddActorToArena(TEdit& edit, TCase& owningCase, TArena& arena, std::string_view name,
                      std::string_view shortName);

// Writes the options into the case as the options dialog's OK does (see WriteOptions), with all
// that this changes in boxes and perceptions.
void ChangeOptions(TEdit& edit, TCase& owningCase, const TCaseOptions& options);

// Sets one type's strength of the relation from one actor to another (affect -5..+5, the other
// types 0 or 1; larger values are cut to that range). A relation is made when there is none and
// taken out when all its strengths are 0. Returns the relation, or null when there is none
// afterwards.
TActorRelation* SetRelationStrength(TEdit& edit, TCase& owningCase, TActor* from, TActor* to,
                                    TActorRelationType type, int strength);

// Lays the factor's box out again from its name.
void LayOutBox(TEdit& edit, TFactor& factor);

}  // namespace kavo
