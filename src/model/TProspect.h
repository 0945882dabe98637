#pragma once

#include <cstdint>

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TFiP;
class TPerception;

// The change the owner of a perception expects of a factor if nobody acts.
class TProspect {
  public:
    // A prospect set by hand: level -3..+3 with uncertainty degree 0..3. Without a FiP it reports
    // an error and is created all the same.
    TProspect(const TCase& current, TFiP* fip, int level, int uncertainty);

    TFiP* FiP;
    std::int8_t Level;
    std::uint8_t Uncertainty;
    TProbVector Vector;
    TProVal Distribution{TProValKind::pvChange};

    // Sets Level and Uncertainty from the distribution; Vector stays.
    void Summarize(const TCase& current);
    // Expects the opposite change.
    void Invert(const TCase& current);
    // A copy on the FiP of the same concept in the other perception; null when it has none.
    TProspect* CopyTo(TPerception& other) const;
};

}  // namespace kavo
