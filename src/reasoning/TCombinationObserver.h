#pragma once

#include <cstdint>
#include <span>

namespace kavo {

class TProVal;
struct TGoalSums;

// Sees every combination of uncertain values that an evaluation visits, for analyses that ask what
// the evaluation gives when one uncertain item takes one of its values.
class TCombinationObserver {
  public:
    virtual ~TCombinationObserver() = default;

    // An evaluation begins. Items are the distributions of the uncertain prospects and links in the
    // order in which Combination gives their pairs.
    virtual void EvaluationStarts(std::span<const TProVal* const> items) = 0;
    // One combination: its weight, the goal totals it gives, and for each uncertain item the index
    // of the pair it takes.
    virtual void Combination(double weight, const TGoalSums& sums,
                             std::span<const std::uint32_t> pairs) = 0;
};

}  // namespace kavo
