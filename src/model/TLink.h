#pragma once

#include <cstdint>
#include <vector>

#include "model/TCommentedObject.h"
#include "model/TGeometry.h"
#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TFiP;
class TPerception;

// A causal link between two factors of one perception: the most probable link level (sign and
// strength, -3..+3), its uncertainty degree 0..3 and the multiplier distribution.
class TLink : public TCommentedObject {
  public:
    // A link of level +2, certain.
    TLink(const TCase& current, TFiP* from, TFiP* to);

    TFiP* FromFiP;
    TFiP* ToFiP;
    std::int8_t Level = 2;
    std::uint8_t Uncertainty = 0;
    TProbVector Vector;
    TProVal Distribution{TProValKind::pvMultiplier};
    // Where the link was last drawn, for hit testing.
    TPoint StartPoint;
    TPoint EndPoint;
    std::vector<TPoint> ArrowPoints;

    // Sets Level and Uncertainty from the distribution; Vector stays.
    void Summarize(const TCase& current);
    // A link between the FiPs of the same two concepts in the other perception, which must hold
    // both; null when it does not.
    TLink* CopyTo(TPerception& other) const;
};

// The most probable level of a distribution (the lowest on a tie) and the uncertainty degree of
// its probability: 0 above 0.95, 1 above 0.75, 2 above 0.55, else 3.
void SummarizeDistribution(const TCase& current, const TProVal& distribution, std::int8_t& level,
                           std::uint8_t& uncertainty);

}  // namespace kavo
