#pragma once

#include <string>
#include <vector>

#include "model/TCommentedObject.h"

namespace kavo {

class TCase;
class TTag;

// The kinds of concept a case holds; a case is a concept too.
enum class TConceptKind { ckTag, ckArena, ckActor, ckFactor, ckGroup, ckCase };

// A named thing of the case's dictionary.
class TConcept : public TCommentedObject {
  public:
    TConcept(TConceptKind kind, TCase* owningCase, std::string name)
        : Name(std::move(name)), Case(owningCase), Kind(kind) {}
    TConcept(const TConcept&) = delete;
    TConcept& operator=(const TConcept&) = delete;

    std::string Name;
    TCase* Case;
    // Attached tags in the order of attaching; not owned.
    std::vector<TTag*> Tags;
    const TConceptKind Kind;

    bool HasTag(const TTag* tag) const;
    void RemoveTag(const TTag* tag);
};

// "arena", "actor", "action", "attribute" or "factor"; "unknown" for anything else.
std::string KindWord(const TConcept* item);

}  // namespace kavo
