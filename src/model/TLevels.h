#pragma once

#include <array>
#include <cstdint>

namespace kavo {

// Lowest and highest level of the seven-point scale; -10 stands for "no level chosen".
inline constexpr int kMinLevel = -3;
inline constexpr int kMaxLevel = 3;
inline constexpr int kNoLevel = -10;

inline constexpr bool IsLevel(int level) {
    return level >= kMinLevel && level <= kMaxLevel;
}

// A value for each level -3..+3, indexed by the level itself.
template <typename T>
struct TLevels {
    std::array<T, 7> Values{};

    constexpr T& operator[](int level) { return Values[static_cast<std::size_t>(level + 3)]; }
    constexpr const T& operator[](int level) const {
        return Values[static_cast<std::size_t>(level + 3)];
    }
    friend constexpr bool operator==(const TLevels&, const TLevels&) = default;
};

// The change levels an action can bring about.
using TActionRange = TLevels<bool>;

inline constexpr TActionRange kFullActionRange{{true, true, true, true, true, true, true}};

}  // namespace kavo
