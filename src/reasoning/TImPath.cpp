#include "reasoning/TImPath.h"

#include <algorithm>

#include "model/TCase.h"
#include "model/TLink.h"

namespace kavo {

std::int64_t TImPath::Created = 0;
std::int64_t TImPath::Destroyed = 0;

TImPath::TImPath() : Serial(++Created) {}

TImPath::TImPath(std::vector<TLink*> links) : Links(std::move(links)), Serial(++Created) {}

TImPath::TImPath(const TImPath& other)
    : Links(other.Links), Serial(++Created), Constant(other.Constant) {}

TImPath::~TImPath() {
    ++Destroyed;
}

int TImPath::IndexOf(const TLink* link) const {
    const auto place = std::find(Links.begin(), Links.end(), link);
    return place == Links.end() ? -1 : static_cast<int>(place - Links.begin());
}

std::unique_ptr<TImPath> TImPath::SplitOn(int k, int j) const {
    auto result = std::make_unique<TImPath>();
    TPVPair constant = Constant.value_or(TPVPair{1, 1});
    for (int i = 0; i < static_cast<int>(Links.size()); ++i) {
        TLink* link = Links[static_cast<std::size_t>(i)];
        if (i == k) {
            continue;
        }
        if (link->Distribution.Count() < 2) {
            if (link->Distribution.Count() == 1) {
                constant.Prob *= link->Distribution[0].Prob;
                constant.Value *= link->Distribution[0].Value;
            }
        } else {
            result->Links.push_back(link);
        }
    }
    const TPVPair& fixed = Links[static_cast<std::size_t>(k)]->Distribution[j];
    constant.Prob *= fixed.Prob;
    constant.Value *= fixed.Value;
    result->Constant = constant;
    return result;
}

TProVal TImPath::Distribution(const TCase& current) const {
    TProVal result(TProValKind::pvMultiplier);
    if (Links.empty()) {
        const TPVPair one = Constant.value_or(TPVPair{1, 1});
        result.Add(current, one.Prob, one.Value);
        result.Cumulation = 1;
        return result;
    }
    result = Links.front()->Distribution;
    for (std::size_t i = 1; i < Links.size(); ++i) {
        result.MultiplyBy(current, Links[i]->Distribution);
    }
    if (Constant) {
        TProVal scaled(TProValKind::pvMultiplier);
        for (const TPVPair& pair : result.Pairs()) {
            scaled.Add(current, pair.Prob * Constant->Prob, pair.Value * Constant->Value);
        }
        result = std::move(scaled);
    }
    if (!result.Empty()) {
        result.Cumulation = 1;
    }
    return result;
}

}  // namespace kavo
