#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TImPath;
class TLink;

// Working paths and sub-sets whose multipliers are either summed (parallel paths) or mixed
// (alternatives, each for one value of a link they shared). Creations and destructions are
// counted like those of TImPath.
class TImPathSet {
  public:
    explicit TImPathSet(bool isAlternatives = false);
    TImPathSet(const TImPathSet&) = delete;
    TImPathSet& operator=(const TImPathSet&) = delete;
    ~TImPathSet();

    std::vector<std::unique_ptr<TImPath>> Paths;
    std::int64_t Serial;
    bool IsAlternatives;
    std::vector<std::unique_ptr<TImPathSet>> SubSets;

    // Conditions every path through the link on each of its values; a certain link changes
    // nothing.
    void SplitOn(const TLink* link);
    // Summands: the sum of the components, empty when there are none. Alternatives: the mixture of
    // the components, whose probabilities already carry the weights of the fixed values.
    TProVal Distribution(const TCase& current) const;

    static std::int64_t Created;
    static std::int64_t Destroyed;
};

}  // namespace kavo
