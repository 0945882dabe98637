#pragma once

#include <memory>
#include <vector>

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TFactor;
class TLink;

// A chain of causal links in one perception and the product of their multipliers.
class TPath {
  public:
    // Not owned: the perception's links.
    std::vector<TLink*> Links;
    TFactor* StartFactor = nullptr;
    TFactor* EndFactor = nullptr;
    // The product of the links' distributions in chain order.
    TProVal Multiplier{TProValKind::pvMultiplier};

    // Extends the chain by a link that starts where it ends; any other link is ignored.
    void Append(const TCase& current, TLink* link);
    bool Visits(const TFactor* factor) const;
    std::unique_ptr<TPath> Clone() const { return std::make_unique<TPath>(*this); }
    // Same start, end and links.
    bool SameAs(const TPath& other) const;
    bool IsCycle() const { return !Links.empty() && StartFactor == EndFactor; }
};

}  // namespace kavo
