#pragma once

#include <cstdint>

#include "model/TLevels.h"

namespace kavo {

class TCase;
class TFiP;
class TPerception;

enum class TGoalType : std::uint8_t { gtStandard = 0, gtNegative = 1, gtCustom = 2 };

// What the owner of a perception wants of a factor: a utility level (-3..+3) for each change level.
// A standard goal wants the change Level, a negative goal wants to avoid a change of Level or
// beyond; both take their utilities from the case's tables. A custom goal's utilities are edited
// directly and its Level and Priority follow from them.
class TGoal {
  public:
    // A goal of the type with the case table's utilities for the level and priority.
    TGoal(const TCase& current, TFiP* fip, TGoalType type, int level, int priority);
    // A custom goal with the given utilities.
    TGoal(TFiP* fip, const TLevels<std::int8_t>& utilities);

    TFiP* FiP;
    TGoalType GoalType;
    TLevels<std::int8_t> Utilities;
    std::int8_t LowUtility = 0;
    std::int8_t HighUtility = 0;
    std::int8_t Level = 0;
    // 1 low, 2 normal, 3 high; 0 for a goal that adaptation dropped.
    std::uint8_t Priority = 2;

    // Takes Utilities from the case's table for the type, priority and level; custom goals stay.
    void TakeUtilitiesFromTable(const TCase& current);
    // Recomputes LowUtility and HighUtility, and for a custom goal Level and Priority.
    void UpdateSummary();
    // A copy on the FiP of the same concept in the other perception; null when it has none.
    TGoal* CopyTo(TPerception& other) const;
};

}  // namespace kavo
