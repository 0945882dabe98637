#pragma once

#include "reasoning/TProVal.h"

namespace kavo {

class TGoal;

// What a strategy does to the factor of one goal.
struct TOutcome {
    // Not owned.
    TGoal* Goal = nullptr;
    // Distribution of the change of the goal's factor.
    TProVal Change{TProValKind::pvChange};
};

}  // namespace kavo
