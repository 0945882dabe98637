#pragma once

namespace kavo {

// Pixel coordinates, y downwards.
struct TPoint {
    int X = 0;
    int Y = 0;
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// A box from (Left, Top) to (Right, Bottom); the right column and the bottom row lie outside.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace kavo
