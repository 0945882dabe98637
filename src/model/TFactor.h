#pragma once

#include <string>
#include <vector>

#include "model/TConcept.h"

namespace kavo {

class TActor;

// A factor, an action (a factor an actor can change) or an attribute (a factor of an actor).
class TFactor : public TConcept {
  public:
    TFactor(TCase* owningCase, std::string name)
        : TConcept(TConceptKind::ckFactor, owningCase, std::move(name)) {}

    TActor* Owner = nullptr;
    bool IsAction = false;
    // A stock accumulates its changes; otherwise the factor is a flow. An action is never a stock.
    bool IsStock = false;

    // The box of the factor in a perception diagram, pixels, laid out from the name.
    int TextWidth = 0;
    int BoxWidth = 0;
    int BoxHeight = 0;
    std::vector<std::string> LabelLines;

    bool IsAttribute() const { return Owner != nullptr && !IsAction; }

    // Lays the box out from the name in the case's font. When the box had a size before, the case
    // accumulates the ratios of the new size to the old one.
    void LayOutBox();
};

}  // namespace kavo
