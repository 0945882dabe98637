#pragma once

#include <cstdint>

namespace kavo {

class TFiP;

// An action of the perception's owner set to one change level.
struct TTactic {
    // Not owned.
    TFiP* FiP = nullptr;
    // -3..+3.
    std::int8_t Level = 0;
    // Whether a search varies the level.
    bool IsVaried = true;
};

}  // namespace kavo
