#pragma once

#include <cstddef>
#include <span>

#include "reasoning/TProVal.h"

namespace kavo {

class TFactor;
class TLink;
class TPathList;

// One causal path of a perception: a chain of links, held with the multiplier of the chain in the
// perception's path list. A TPath is a view of that list (its list and its position there), valid
// while the list is not cleared.
class TPath {
  public:
    TPath(const TPathList& list, std::size_t position) : List(&list), Position(position) {}

    // The path's position in its list.
    std::size_t Index() const { return Position; }
    // Not owned: the perception's links, in chain order; never empty.
    std::span<TLink* const> Links() const;
    TFactor* StartFactor() const;
    TFactor* EndFactor() const;
    // The product of the links' distributions in chain order, as a copy.
    TProVal Multiplier() const;
    // The same into a distribution whose storage is reused.
    void MultiplierInto(TProVal& target) const;
    // The pairs of the multiplier, without a copy.
    std::span<const TPVPair> MultiplierPairs() const;
    bool Visits(const TFactor* factor) const;
    bool IsCycle() const { return StartFactor() == EndFactor(); }
    // Same start, end and links.
    bool SameAs(const TPath& other) const;

    friend bool operator==(const TPath& a, const TPath& b) {
        return a.List == b.List && a.Position == b.Position;
    }

  private:
    const TPathList* List;
    std::size_t Position;
};

}  // namespace kavo
