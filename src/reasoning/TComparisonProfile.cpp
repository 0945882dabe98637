#include "reasoning/TComparisonProfile.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/TImpact.h"

namespace kavo {

namespace {

bool Before(const TComparisonProfile::TByFactor& a, const TComparisonProfile::TByFactor& b) {
    return std::less<const TFactor*>()(a.Factor, b.Factor) ||
           (a.Factor == b.Factor && a.Index < b.Index);
}

template <typename TItem>
std::vector<TComparisonProfile::TByFactor> SortedByFactor(
    const std::vector<TItem>& items, const TFactor* (*factorOf)(const TItem&)) {
    std::vector<TComparisonProfile::TByFactor> sorted;
    sorted.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        sorted.push_back({factorOf(items[i]), static_cast<int>(i)});
    }
    std::ranges::sort(sorted, Before);
    return sorted;
}

struct TFactorPairHash {
    std::size_t operator()(const std::pair<const TFactor*, const TFactor*>& pair) const {
        return std::hash<const TFactor*>()(pair.first) * 31 +
               std::hash<const TFactor*>()(pair.second);
    }
};

// The impact that ImpactBetween finds for two FiPs of the perception, given by their indices:
// the one laid out at their place when it joins their factors, otherwise the first on their
// factors.
class TImpactFinder {
  public:
    explicit TImpactFinder(const TPerception& perception)
        : Perception(perception),
          Count(perception.FiPs.size()),
          LaidOut(perception.Impacts.size() == Count * Count) {}

    const TImpact* Between(std::size_t i, std::size_t j) {
        const TFactor* from = Perception.FiPs[i]->Factor;
        const TFactor* to = Perception.FiPs[j]->Factor;
        if (LaidOut) {
            const TImpact* impact = Perception.Impacts[i * Count + j].get();
            if (impact->FromFactor == from && impact->ToFactor == to) {
                return impact;
            }
        }
        if (FirstOnFactors.empty()) {
            for (const auto& impact : Perception.Impacts) {
                FirstOnFactors.try_emplace({impact->FromFactor, impact->ToFactor}, impact.get());
            }
        }
        const auto found = FirstOnFactors.find({from, to});
        return found == FirstOnFactors.end() ? nullptr : found->second;
    }

  private:
    const TPerception& Perception;
    std::size_t Count;
    bool LaidOut;
    std::unordered_map<std::pair<const TFactor*, const TFactor*>, const TImpact*, TFactorPairHash>
        FirstOnFactors;
};

}  // namespace

TComparisonProfile::TComparisonProfile(const TPerception& perception) : Perception(perception) {
    const TCase& current = *perception.Case();
    for (const auto& goal : perception.Goals) {
        Goals.push_back(goal.get());
    }
    GoalsByFactor = SortedByFactor<const TGoal*>(
        Goals, [](const TGoal* const& goal) -> const TFactor* { return goal->FiP->Factor; });
    for (const auto& prospect : perception.Prospects) {
        Prospects.push_back(prospect.get());
        ProspectLevels.emplace_back(current, prospect->Distribution);
    }
    ProspectsByFactor = SortedByFactor<const TProspect*>(
        Prospects,
        [](const TProspect* const& prospect) -> const TFactor* { return prospect->FiP->Factor; });
    FiPsByFactor = SortedByFactor<std::unique_ptr<TFiP>>(
        perception.FiPs,
        [](const std::unique_ptr<TFiP>& fip) -> const TFactor* { return fip->Factor; });
    for (std::size_t i = 0; i < perception.FiPs.size(); ++i) {
        if (perception.IsFreeAction(perception.FiPs[i].get())) {
            FreeActions.push_back(static_cast<int>(i));
        }
    }
}

void TComparisonProfile::TakeInfluences() {
    const TCase& current = *Perception.Case();
    ImpactsWithPaths = 0;
    for (const auto& impact : Perception.Impacts) {
        ImpactsWithPaths += impact->HasPaths() ? 1 : 0;
    }
    const std::size_t n = Perception.FiPs.size();
    Influences.clear();
    InfluenceStart.assign(n + 1, 0);
    InfluenceAt.assign(n * n, -1);
    TImpactFinder finder(Perception);
    for (std::size_t i = 0; i < n; ++i) {
        InfluenceStart[i] = static_cast<int>(Influences.size());
        for (std::size_t j = 0; j < n; ++j) {
            const TImpact* impact = finder.Between(i, j);
            if (impact != nullptr && impact->HasPaths()) {
                InfluenceAt[i * n + j] = static_cast<std::int32_t>(Influences.size());
                Influences.push_back({static_cast<int>(i), static_cast<int>(j),
                                      TLevelledDistribution(current, impact->Multiplier)});
            }
        }
    }
    InfluenceStart[n] = static_cast<int>(Influences.size());
    InfluencesTaken = true;
}

void TComparisonProfile::TakeTactics() {
    const TCase& current = *Perception.Case();
    MeanUtility.clear();
    for (const auto& fip : Perception.FiPs) {
        TLevels<double>& means = MeanUtility.emplace_back();
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            means[level] = fip->LevelUtility[level].RawMean(current);
        }
    }
    TacticsTaken = true;
}

std::pair<const TComparisonProfile::TByFactor*, const TComparisonProfile::TByFactor*>
TComparisonProfile::On(const std::vector<TByFactor>& sorted, const TFactor* factor) {
    const auto range = std::equal_range(sorted.begin(), sorted.end(), TByFactor{factor, 0},
                                        [](const TByFactor& a, const TByFactor& b) {
                                            return std::less<const TFactor*>()(a.Factor, b.Factor);
                                        });
    return {sorted.data() + (range.first - sorted.begin()),
            sorted.data() + (range.second - sorted.begin())};
}

}  // namespace kavo
