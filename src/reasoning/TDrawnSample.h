#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

// The combinations of uncertain values that evaluations of a perception draw when there are too
// many to visit, kept with what they were drawn from so that later evaluations take them over
// instead of drawing them again (they would be drawn the same).
struct TDrawnSample {
    // The seed of the draws and, item after item, the item's pair count followed by its pairs'
    // probabilities: the draws depend on nothing else.
    std::uint32_t Seed = 0;
    std::vector<double> Source;
    // Item after item, the index of the item's pair in each combination; empty when nothing is
    // kept (an item with more than 256 pairs is never kept).
    std::vector<std::uint8_t> Pairs;
};

}  // namespace kavo
