#pragma once

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;

// A distribution with its probability of each level worked out once, for comparing it with many
// others. A distribution of a kind without levels (neither changes nor multipliers) is compared
// through the distribution itself, which reports the error.
class TLevelledDistribution {
  public:
    // The distribution is not owned and must outlive this.
    TLevelledDistribution(const TCase& current, const TProVal& distribution);

    // As TProVal's functions of the same name, with the same result.
    double LevelDistance(const TCase& current, const TLevelledDistribution& other) const;
    double JointIntensity(const TCase& current, const TLevelledDistribution& other) const;

  private:
    const TProVal* Distribution;
    TProbVector Vector;
    bool Levelled;
};

}  // namespace kavo
