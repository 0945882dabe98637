#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

#include "reasoning/TPath.h"
#include "reasoning/TProVal.h"

namespace kavo {

class TLink;

// Every causal path of a perception in one flat buffer: the links of all paths one after the
// other, the pairs of their multipliers likewise, and where each path's part ends. Adding a path
// copies its links and pairs to the end and allocates nothing once the buffers have grown; paths
// are read as TPath views, by index.
class TPathList {
  public:
    class TIterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TPath;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TPath;

        TIterator() = default;
        TIterator(const TPathList* list, std::size_t position) : List(list), Position(position) {}
        TPath operator*() const { return TPath(*List, Position); }
        TIterator& operator++() {
            ++Position;
            return *this;
        }
        TIterator operator++(int) {
            TIterator before = *this;
            ++Position;
            return before;
        }
        friend bool operator==(const TIterator& a, const TIterator& b) {
            return a.Position == b.Position;
        }

      private:
        const TPathList* List = nullptr;
        std::size_t Position = 0;
    };

    std::size_t size() const { return LinkEnd.size(); }
    bool empty() const { return LinkEnd.empty(); }
    void clear();
    TPath operator[](std::size_t p) const { return TPath(*this, p); }
    TIterator begin() const { return TIterator(this, 0); }
    TIterator end() const { return TIterator(this, size()); }

    // Appends a path: its links in chain order (at least one) and the pairs of its multiplier,
    // neither of which may lie in this list.
    void Add(std::span<TLink* const> links, std::span<const TPVPair> pairs);

    std::span<TLink* const> LinksOf(std::size_t p) const {
        const std::size_t first = p == 0 ? 0 : LinkEnd[p - 1];
        return {Links.data() + first, LinkEnd[p] - first};
    }
    std::span<const TPVPair> PairsOf(std::size_t p) const {
        const std::size_t first = p == 0 ? 0 : PairEnd[p - 1];
        return {Pairs.data() + first, PairEnd[p] - first};
    }

  private:
    std::vector<TLink*> Links;
    std::vector<std::uint32_t> LinkEnd;
    std::vector<TPVPair> Pairs;
    std::vector<std::uint32_t> PairEnd;
};

}  // namespace kavo
