#include "reasoning/TImPathSet.h"

#include "model/TCase.h"
#include "model/TLink.h"
#include "reasoning/TImPath.h"

namespace kavo {

std::int64_t TImPathSet::Created = 0;
std::int64_t TImPathSet::Destroyed = 0;

TImPathSet::TImPathSet(bool isAlternatives) : Serial(++Created), IsAlternatives(isAlternatives) {}

TImPathSet::~TImPathSet() {
    ++Destroyed;
}

void TImPathSet::SplitOn(const TLink* link) {
    if (link->Distribution.Count() <= 1) {
        return;
    }
    for (const auto& subSet : SubSets) {
        subSet->SplitOn(link);
    }
    for (std::size_t i = Paths.size(); i-- > 0;) {
        const int k = Paths[i]->IndexOf(link);
        if (k < 0) {
            continue;
        }
        auto alternatives = std::make_unique<TImPathSet>(true);
        for (int j = 0; j < link->Distribution.Count(); ++j) {
            alternatives->Paths.push_back(Paths[i]->SplitOn(k, j));
        }
        Paths.erase(Paths.begin() + static_cast<std::ptrdiff_t>(i));
        SubSets.push_back(std::move(alternatives));
    }
}

TProVal TImPathSet::Distribution(const TCase& current) const {
    TProVal result(TProValKind::pvMultiplier);
    if (IsAlternatives) {
        for (const auto& path : Paths) {
            result.Cumulate(current, path->Distribution(current));
        }
        for (const auto& subSet : SubSets) {
            result.Cumulate(current, subSet->Distribution(current));
        }
        result.Cumulation = 1;
        return result;
    }
    if (Paths.empty() && SubSets.empty()) {
        return result;
    }
    result.SetZero();
    for (const auto& path : Paths) {
        result.IncreaseBy(current, path->Distribution(current));
    }
    for (const auto& subSet : SubSets) {
        result.IncreaseBy(current, subSet->Distribution(current));
    }
    return result;
}

}  // namespace kavo
