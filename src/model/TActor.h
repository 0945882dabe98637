#pragma once

#include <vector>

#include "model/TConcept.h"

namespace kavo {

class TFactor;

// A party to the arenas. Its short name (at most 20 characters) names its actions and attributes.
class TActor : public TConcept {
  public:
    TActor(TCase* owningCase, std::string name, std::string shortName)
        : TConcept(TConceptKind::ckActor, owningCase, std::move(name)),
          ShortName(std::move(shortName)) {}

    std::string ShortName;
    // Not owned: the factors belong to the case's factor list.
    std::vector<TFactor*> Attributes;
    std::vector<TFactor*> Actions;
};

}  // namespace kavo
