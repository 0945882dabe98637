#pragma once

#include <cstdint>

namespace kavo {

// The program's one random generator: a 32-bit linear congruential generator. The order of draws
// determines results, so every random draw of reasoning, simulation and layout comes from here.
class TRandom {
  public:
    void Seed(std::uint32_t seed) { State = seed; }
    // A draw in [0, 1).
    double Next() {
        State = State * 134775813u + 1u;
        return State * (1.0 / 4294967296.0);
    }

    std::uint32_t State = 0;
};

}  // namespace kavo
