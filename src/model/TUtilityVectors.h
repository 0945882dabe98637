#pragma once

#include <array>
#include <cstdint>

#include "model/TLevels.h"

namespace kavo {

// Utility level (-9..9, normally -3..+3) of each change level for each goal priority 1..3 and goal
// level -3..+3: 147 entries, flat index (priority - 1) * 49 + (goal level + 3) * 7 + (change + 3).
struct TUtilityVectors {
    std::array<std::int8_t, 147> Entries{};

    static constexpr int Index(int priority, int goalLevel, int change) {
        return (priority - 1) * 49 + (goalLevel + 3) * 7 + (change + 3);
    }
    std::int8_t& At(int priority, int goalLevel, int change) {
        return Entries[static_cast<std::size_t>(Index(priority, goalLevel, change))];
    }
    std::int8_t At(int priority, int goalLevel, int change) const {
        return Entries[static_cast<std::size_t>(Index(priority, goalLevel, change))];
    }
    TLevels<std::int8_t> Row(int priority, int goalLevel) const;

    friend bool operator==(const TUtilityVectors&, const TUtilityVectors&) = default;

    static const TUtilityVectors& DefaultStandard();
    static const TUtilityVectors& DefaultNegative();
};

}  // namespace kavo
