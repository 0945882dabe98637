#include "reasoning/TPath.h"

#include <algorithm>

#include "model/TFiP.h"
#include "model/TLink.h"
#include "reasoning/TPathList.h"

namespace kavo {

std::span<TLink* const> TPath::Links() const {
    return List->LinksOf(Position);
}

TFactor* TPath::StartFactor() const {
    return Links().front()->FromFiP->Factor;
}

TFactor* TPath::EndFactor() const {
    return Links().back()->ToFiP->Factor;
}

TProVal TPath::Multiplier() const {
    TProVal multiplier;
    MultiplierInto(multiplier);
    return multiplier;
}

void TPath::MultiplierInto(TProVal& target) const {
    // Kind and Cumulation as the product of the links' distributions, link after link, gives them.
    const std::span<TLink* const> links = Links();
    target.Kind = links.front()->Distribution.Kind;
    target.Cumulation = links.front()->Distribution.Cumulation;
    for (std::size_t i = 1; i < links.size(); ++i) {
        const TProVal& next = links[i]->Distribution;
        target.Kind = target.Kind == TProValKind::pvMultiplier ? next.Kind : target.Kind;
        target.Cumulation = std::max(target.Cumulation, next.Cumulation);
    }
    target.SetPairs(MultiplierPairs());
}

std::span<const TPVPair> TPath::MultiplierPairs() const {
    return List->PairsOf(Position);
}

bool TPath::Visits(const TFactor* factor) const {
    const std::span<TLink* const> links = Links();
    return factor == StartFactor() ||
           std::any_of(links.begin(), links.end(),
                       [factor](TLink* link) { return link->ToFiP->Factor == factor; });
}

bool TPath::SameAs(const TPath& other) const {
    const std::span<TLink* const> a = Links();
    const std::span<TLink* const> b = other.Links();
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace kavo
