#include "model/TProspect.h"

#include <memory>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"

namespace kavo {

TProspect::TProspect(const TCase& current, TFiP* fip, int level, int uncertainty)
    : FiP(fip),
      Level(static_cast<std::int8_t>(level)),
      Uncertainty(static_cast<std::uint8_t>(uncertainty)),
      Vector(UncertaintyProfile(uncertainty, level)) {
    if (fip == nullptr) {
        current.Messages().ShowError("Failed to create prospect -- FiP = nil");
    }
    Distribution.SetChange(current, level, uncertainty);
}

void TProspect::Summarize(const TCase& current) {
    SummarizeDistribution(current, Distribution, Level, Uncertainty);
}

void TProspect::Invert(const TCase& current) {
    Distribution.Negate();
    Vector = Distribution.ToVector(current);
    Level = static_cast<std::int8_t>(-Level);
}

TProspect* TProspect::CopyTo(TPerception& other) const {
    TFiP* target = other.FindFiP(FiP->Factor);
    if (target == nullptr) {
        return nullptr;
    }
    auto copy = std::make_unique<TProspect>(*this);
    copy->FiP = target;
    const int index = other.Add(std::move(copy));
    return index >= 0 ? other.Prospects[static_cast<std::size_t>(index)].get() : nullptr;
}

}  // namespace kavo
