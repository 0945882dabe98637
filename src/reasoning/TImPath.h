#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TLink;

// A path being worked on while an impact is computed: its uncertain links, and the probability
// and value factors of the links already fixed. Creations and destructions are counted, so that
// the inference can check that every working path was freed.
class TImPath {
  public:
    TImPath();
    explicit TImPath(std::vector<TLink*> links);
    TImPath(const TImPath& other);
    TImPath& operator=(const TImPath&) = delete;
    ~TImPath();

    // Not owned.
    std::vector<TLink*> Links;
    std::int64_t Serial;
    // Probability factor and value factor of the links fixed so far.
    std::optional<TPVPair> Constant;

    std::unique_ptr<TImPath> Clone() const { return std::make_unique<TImPath>(*this); }
    // This path with link k fixed at the j-th value of its distribution; the certain links are
    // folded into the constant on the way.
    std::unique_ptr<TImPath> SplitOn(int k, int j) const;
    // Position of the link in the path, or -1.
    int IndexOf(const TLink* link) const;
    // The product of the links and the constant. A path with neither links nor constant is the
    // empty product, certain 1.
    TProVal Distribution(const TCase& current) const;

    static std::int64_t Created;
    static std::int64_t Destroyed;
};

}  // namespace kavo
