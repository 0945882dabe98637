#include "model/TLink.h"

#include <memory>

#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

namespace kavo {

TLink::TLink(const TCase& current, TFiP* from, TFiP* to)
    : FromFiP(from), ToFiP(to), Vector(UncertaintyProfile(0, 2)) {
    Distribution.SetMultiplier(current, 2, 0);
}

void TLink::Summarize(const TCase& current) {
    SummarizeDistribution(current, Distribution, Level, Uncertainty);
}

TLink* TLink::CopyTo(TPerception& other) const {
    TFiP* from = other.FindFiP(FromFiP->Factor);
    TFiP* to = other.FindFiP(ToFiP->Factor);
    const TCase* otherCase = other.Case();
    if (from == nullptr || to == nullptr || otherCase == nullptr) {
        return nullptr;
    }
    auto copy = std::make_unique<TLink>(*otherCase, from, to);
    copy->Distribution = Distribution;
    copy->Level = Level;
    copy->Uncertainty = Uncertainty;
    copy->Vector = Vector;
    copy->Comment = Comment;
    const int index = other.Add(std::move(copy));
    return index >= 0 ? other.Links[static_cast<std::size_t>(index)].get() : nullptr;
}

void SummarizeDistribution(const TCase& current, const TProVal& distribution, std::int8_t& level,
                           std::uint8_t& uncertainty) {
    const TProbVector vector = distribution.ToVector(current);
    int best = kMinLevel;
    for (int i = kMinLevel + 1; i <= kMaxLevel; ++i) {
        if (vector[i] > vector[best]) {
            best = i;
        }
    }
    const double p = vector[best];
    level = static_cast<std::int8_t>(best);
    uncertainty = p > 0.95 ? 0 : p > 0.75 ? 1 : p > 0.55 ? 2 : 3;
}

}  // namespace kavo
