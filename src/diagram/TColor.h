#pragma once

#include <cstdint>

namespace kavo {

// A 24-bit colour. Case options and tag colours are stored with red in the low byte, then green,
// then blue; FromStored and ToStored convert.
struct TColor {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;

    static constexpr TColor FromStored(std::uint32_t stored) {
        return {static_cast<std::uint8_t>(stored & 0xFF),
                static_cast<std::uint8_t>((stored >> 8) & 0xFF),
                static_cast<std::uint8_t>((stored >> 16) & 0xFF)};
    }
    constexpr std::uint32_t ToStored() const {
        return static_cast<std::uint32_t>(R) | (static_cast<std::uint32_t>(G) << 8) |
               (static_cast<std::uint32_t>(B) << 16);
    }
    friend constexpr bool operator==(const TColor&, const TColor&) = default;
};

inline constexpr TColor kBlack{0, 0, 0};
inline constexpr TColor kWhite{255, 255, 255};
inline constexpr TColor kSilver{192, 192, 192};
inline constexpr TColor kGray{128, 128, 128};

}  // namespace kavo
