#pragma once

#include <vector>

#include "reasoning/TPath.h"
#include "reasoning/TProVal.h"

namespace kavo {

class TFactor;

// The influence of one factor on another in one perception: the total multiplier by which a change
// of the first reaches the second, over every path between them.
class TImpact {
  public:
    TImpact(TFactor* from, TFactor* to) : FromFactor(from), ToFactor(to) {}

    TFactor* FromFactor;
    TFactor* ToFactor;
    // Not owned: the perception's paths from FromFactor to ToFactor, in their order there.
    std::vector<TPath> Paths;
    TProVal Multiplier{TProValKind::pvMultiplier};
    // Probability of each multiplier level.
    TProbVector Vector;
    // Uncertain links shared by its paths were too many to condition on every combination of their
    // values, and some parts were combined as if independent.
    bool Approximate = false;

    bool HasPaths() const { return !Paths.empty(); }
};

}  // namespace kavo
