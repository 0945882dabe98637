#include "analyses/Sensitivity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "reasoning/Inference.h"
#include "reasoning/TCombinationObserver.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

const TProVal& DistributionOf(const TUncertainItem& item) {
    return std::visit([](auto* record) -> const TProVal& { return record->Distribution; }, item);
}

// What a strategy's evaluation gave over the combinations in which one item took one value.
struct TConditionedSums {
    double Weight = 0;
    double Utility = 0;
    double Satisfaction = 0;
    double Frustration = 0;
    double LowestUtility = kInfinity;
    double LowestSatisfaction = kInfinity;
    double HighestFrustration = -kInfinity;
    std::uint64_t Combinations = 0;
};

// Every strategy the search evaluates, with its sums per value of every uncertain item.
class TConditionedScores : public TCombinationObserver {
  public:
    TConditionedScores(const TStrategy& strategy, const std::vector<TUncertainItem>& items)
        : Strategy(strategy) {
        for (const TUncertainItem& item : items) {
            Offsets.push_back(Slots);
            Distributions.push_back(&DistributionOf(item));
            Slots += static_cast<std::size_t>(Distributions.back()->Count());
        }
    }

    void EvaluationStarts(std::span<const TProVal* const> items) override {
        ItemOf.assign(items.size(), Distributions.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto found = std::find(Distributions.begin(), Distributions.end(), items[i]);
            ItemOf[i] = static_cast<std::size_t>(found - Distributions.begin());
        }
        TEvaluated& evaluated = Evaluated.emplace_back();
        for (const TTactic& tactic : Strategy.Tactics) {
            evaluated.Levels.push_back(tactic.Level);
            evaluated.TotalAction += std::abs(tactic.Level);
        }
        evaluated.Sums.resize(Slots);
    }

    void Combination(double weight, const TGoalSums& sums,
                     std::span<const std::uint32_t> pairs) override {
        if (Evaluated.empty() || !(weight > 0)) {
            return;
        }
        TEvaluated& evaluated = Evaluated.back();
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (ItemOf[i] >= Distributions.size()) {
                continue;
            }
            TConditionedSums& s = evaluated.Sums[Offsets[ItemOf[i]] + pairs[i]];
            s.Weight += weight;
            s.Utility += weight * sums.Utility;
            s.Satisfaction += weight * sums.Satisfaction;
            s.Frustration += weight * sums.Frustration;
            s.LowestUtility = std::min(s.LowestUtility, sums.Utility);
            s.LowestSatisfaction = std::min(s.LowestSatisfaction, sums.Satisfaction);
            s.HighestFrustration = std::max(s.HighestFrustration, sums.Frustration);
            ++s.Combinations;
        }
    }

    // The best of the evaluated strategies when the item takes its pair'th value.
    TBestFound Best(std::size_t item, std::size_t pair, bool sampled) const {
        const std::size_t slot = Offsets[item] + pair;
        TBestFound found;
        found.Score = -kInfinity;
        std::vector<std::size_t> tied;
        std::uint64_t combinations = 0;
        for (std::size_t i = 0; i < Evaluated.size(); ++i) {
            const TConditionedSums& sums = Evaluated[i].Sums[slot];
            if (sums.Combinations == 0) {
                continue;
            }
            combinations = sums.Combinations;
            const double score = Score(sums);
            if (score > found.Score) {
                found.Score = score;
                tied.clear();
            }
            if (score == found.Score) {
                tied.push_back(i);
            }
        }
        std::stable_sort(tied.begin(), tied.end(), [&](std::size_t a, std::size_t b) {
            return Evaluated[a].TotalAction < Evaluated[b].TotalAction;
        });
        for (std::size_t i : tied) {
            found.TiedLevels.insert(found.TiedLevels.end(), Evaluated[i].Levels.begin(),
                                    Evaluated[i].Levels.end());
        }
        found.Ties = tied.size();
        if (tied.empty()) {
            found.Score = std::numeric_limits<double>::quiet_NaN();
        }
        found.SampledCombinations = sampled ? combinations : 0;
        return found;
    }

  private:
    struct TEvaluated {
        std::vector<std::int8_t> Levels;
        int TotalAction = 0;
        // Offsets[item] + pair.
        std::vector<TConditionedSums> Sums;
    };

    // As TStrategy::Score computes it from the distributions of an evaluation.
    double Score(const TConditionedSums& s) const {
        switch (Strategy.Rationality) {
            case 0:
                return s.Utility / s.Weight;
            case 1:
                return s.LowestUtility;
            case 3:
                return s.Satisfaction / s.Weight;
            case 4:
                return s.LowestSatisfaction;
            case 6:
                return -s.Frustration / s.Weight;
            case 7:
                return -s.HighestFrustration;
            default:
                return 0;
        }
    }

    const TStrategy& Strategy;
    std::vector<const TProVal*> Distributions;
    std::vector<std::size_t> Offsets;
    std::size_t Slots = 0;
    // For each item of the evaluation at hand, its index in Distributions.
    std::vector<std::size_t> ItemOf;
    std::vector<TEvaluated> Evaluated;
};

// The levels of the first best strategy, or every action's least action when the search kept
// none or every strategy scores alike (no goals, no actions).
void FillLevels(TBestFound& found, const std::vector<TFiP*>& actions, bool scored) {
    if (!scored || found.Ties == 0) {
        found.TiedLevels.clear();
        for (const TFiP* fip : actions) {
            found.TiedLevels.push_back(fip->FeasibleLevels[0]);
        }
        found.Ties = scored ? 0 : 1;
    }
    found.Levels.assign(found.TiedLevels.begin(),
                        found.TiedLevels.begin() + static_cast<std::ptrdiff_t>(actions.size()));
}

TBestFound BaseOf(const TStrategy& strategy) {
    TBestFound found;
    found.Score = strategy.BestScore;
    for (const auto& tied : strategy.BestStrategies) {
        for (const TTactic& tactic : tied->Tactics) {
            found.TiedLevels.push_back(tactic.Level);
        }
    }
    found.Ties = strategy.BestStrategies.size();
    found.SampledCombinations = strategy.SampledCombinations;
    return found;
}

TSensitivityItem ItemValues(const TSensitivity& result, const TConditionedScores& scores,
                            const TUncertainItem& item, std::size_t index, bool scored,
                            const TCase& current) {
    const bool isLink = std::holds_alternative<TLink*>(item);
    TSensitivityItem held;
    held.Item = item;
    const std::vector<TPVPair>& pairs = DistributionOf(item).Pairs();
    double low = kInfinity;
    double high = -kInfinity;
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        TSensitivityValue value;
        value.Value = pairs[p].Value;
        value.Level =
            isLink ? current.MultiplierLevelOf(value.Value) : current.ChangeLevelOf(value.Value);
        value.Probability = pairs[p].Prob;
        value.Best = scores.Best(index, p, result.Base.SampledCombinations > 0);
        value.Best.Evaluations = result.Base.Evaluations;
        value.Best.StrategyCount = result.Base.StrategyCount;
        FillLevels(value.Best, result.Actions, scored);
        if (!scored) {
            value.Best.Score = result.Base.Score;
        }
        value.KeepsBaseStrategy = value.Best.Among(result.Base.Levels);
        held.ChangesStrategy = held.ChangesStrategy || !value.KeepsBaseStrategy;
        if (!std::isnan(value.Best.Score)) {
            low = std::min(low, value.Best.Score);
            high = std::max(high, value.Best.Score);
        }
        held.Values.push_back(std::move(value));
    }
    held.Swing = high >= low ? high - low : 0;
    return held;
}

}  // namespace

bool TBestFound::Among(const std::vector<std::int8_t>& levels) const {
    if (levels.empty()) {
        return true;
    }
    for (std::size_t at = 0; at + levels.size() <= TiedLevels.size(); at += levels.size()) {
        if (std::equal(levels.begin(), levels.end(),
                       TiedLevels.begin() + static_cast<std::ptrdiff_t>(at))) {
            return true;
        }
    }
    return false;
}

TSensitivity FindSensitivity(TPerception& perception) {
    TSensitivity result;
    const TCase& current = *perception.Case();
    for (const auto& fip : perception.FiPs) {
        if (perception.IsFreeAction(fip.get()) && fip->FeasibleCount > 0) {
            result.Actions.push_back(fip.get());
        }
    }
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
    CollectUncertainItems(perception);
    TStrategy strategy(&perception, perception.Rationality);
    for (TFiP* fip : result.Actions) {
        strategy.Tactics.push_back({fip, fip->FeasibleLevels[0], true});
    }
    TConditionedScores scores(strategy, perception.UncertainItems);
    strategy.Observer = &scores;
    strategy.Search();
    strategy.Observer = nullptr;
    // Without goals (or actions) every strategy scores alike.
    const bool scored = !perception.Goals.empty() && !result.Actions.empty();
    result.Base = BaseOf(strategy);
    result.Base.Evaluations = strategy.EvaluationCount;
    result.Base.StrategyCount = strategy.StrategyCount;
    FillLevels(result.Base, result.Actions, scored);
    result.Complete = strategy.Complete;
    if (!result.Complete) {
        return result;
    }
    for (std::size_t i = 0; i < perception.UncertainItems.size(); ++i) {
        result.Items.push_back(
            ItemValues(result, scores, perception.UncertainItems[i], i, scored, current));
    }
    std::stable_sort(result.Items.begin(), result.Items.end(),
                     [](const TSensitivityItem& a, const TSensitivityItem& b) {
                         if (a.Swing != b.Swing) {
                             return a.Swing > b.Swing;
                         }
                         return a.ChangesStrategy && !b.ChangesStrategy;
                     });
    return result;
}

}  // namespace kavo
