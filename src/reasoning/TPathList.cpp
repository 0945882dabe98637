#include "reasoning/TPathList.h"

namespace kavo {

void TPathList::clear() {
    Links.clear();
    LinkEnd.clear();
    Pairs.clear();
    PairEnd.clear();
}

void TPathList::Add(std::span<TLink* const> links, std::span<const TPVPair> pairs) {
    Links.insert(Links.end(), links.begin(), links.end());
    LinkEnd.push_back(static_cast<std::uint32_t>(Links.size()));
    Pairs.insert(Pairs.end(), pairs.begin(), pairs.end());
    PairEnd.push_back(static_cast<std::uint32_t>(Pairs.size()));
}

}  // namespace kavo
