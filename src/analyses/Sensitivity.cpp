#include "analyses/Sensitivity.h"

#include <algorithm>

#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "reasoning/Inference.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

TProVal& DistributionOf(const TUncertainItem& item) {
    return std::visit([](auto* record) -> TProVal& { return record->Distribution; }, item);
}

// A search over the free actions from their least action, as the best strategy's search.
TBestFound Search(TPerception& perception, const std::vector<TFiP*>& actions) {
    TStrategy strategy(&perception, perception.Rationality);
    for (TFiP* fip : actions) {
        strategy.Tactics.push_back({fip, fip->FeasibleLevels[0], true});
    }
    CollectUncertainItems(perception);
    strategy.Search();
    TBestFound found;
    found.Score = strategy.BestScore;
    // Without goals (or actions) every strategy scores alike: the least action stands for them.
    const bool scored = !perception.Goals.empty() && !actions.empty();
    if (scored) {
        for (const auto& tied : strategy.BestStrategies) {
            for (const TTactic& tactic : tied->Tactics) {
                found.TiedLevels.push_back(tactic.Level);
            }
        }
        found.Ties = strategy.BestStrategies.size();
    }
    // A search stopped before it found anything keeps no strategy either.
    if (found.Ties == 0) {
        for (const TFiP* fip : actions) {
            found.TiedLevels.push_back(fip->FeasibleLevels[0]);
        }
        found.Ties = scored ? 0 : 1;
    }
    found.Levels.assign(found.TiedLevels.begin(),
                        found.TiedLevels.begin() + static_cast<std::ptrdiff_t>(actions.size()));
    found.Evaluations = strategy.EvaluationCount;
    found.StrategyCount = strategy.StrategyCount;
    found.SampledCombinations = strategy.SampledCombinations;
    return found;
}

// Holds an uncertain item at one value while it lives, and gives it its distribution back.
class THeldValue {
  public:
    THeldValue(const TCase& current, const TUncertainItem& item, double value)
        : Distribution(DistributionOf(item)), Kept(Distribution) {
        Distribution.Clear();
        Distribution.Add(current, 1, value);
    }
    ~THeldValue() { Distribution = Kept; }
    THeldValue(const THeldValue&) = delete;
    THeldValue& operator=(const THeldValue&) = delete;

  private:
    TProVal& Distribution;
    TProVal Kept;
};

TSensitivityItem HoldEachValue(TPerception& perception, const TSensitivity& result,
                               const TUncertainItem& item) {
    const TCase& current = *perception.Case();
    const bool isLink = std::holds_alternative<TLink*>(item);
    TSensitivityItem held;
    held.Item = item;
    // The values are copied: holding one replaces the distribution.
    const std::vector<TPVPair> pairs = DistributionOf(item).Pairs();
    for (const TPVPair& pair : pairs) {
        if (current.Context().AnalysisCancelled) {
            break;
        }
        TSensitivityValue value;
        value.Value = pair.Value;
        value.Level =
            isLink ? current.MultiplierLevelOf(pair.Value) : current.ChangeLevelOf(pair.Value);
        value.Probability = pair.Prob;
        {
            const THeldValue hold(current, item, pair.Value);
            value.Best = Search(perception, result.Actions);
        }
        value.KeepsBaseStrategy = value.Best.Among(result.Base.Levels);
        held.ChangesStrategy = held.ChangesStrategy || !value.KeepsBaseStrategy;
        held.Values.push_back(std::move(value));
    }
    if (!held.Values.empty()) {
        const auto [low, high] = std::minmax_element(
            held.Values.begin(), held.Values.end(),
            [](const auto& a, const auto& b) { return a.Best.Score < b.Best.Score; });
        held.Swing = high->Best.Score - low->Best.Score;
    }
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
    const TContext& context = perception.Case()->Context();
    for (const auto& fip : perception.FiPs) {
        if (perception.IsFreeAction(fip.get()) && fip->FeasibleCount > 0) {
            result.Actions.push_back(fip.get());
        }
    }
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
    result.Base = Search(perception, result.Actions);
    const std::vector<TUncertainItem> items = perception.UncertainItems;
    for (const TUncertainItem& item : items) {
        if (context.AnalysisCancelled) {
            break;
        }
        result.Items.push_back(HoldEachValue(perception, result, item));
    }
    result.Complete = !context.AnalysisCancelled;
    std::stable_sort(result.Items.begin(), result.Items.end(),
                     [](const TSensitivityItem& a, const TSensitivityItem& b) {
                         if (a.Swing != b.Swing) {
                             return a.Swing > b.Swing;
                         }
                         return a.ChangesStrategy && !b.ChangesStrategy;
                     });
    // The searches left their changes in the FiPs and the uncertain items of the held values.
    CollectUncertainItems(perception);
    perception.ResultsValid[TPerception::ChangesExpected] = false;
    perception.ResultsValid[TPerception::TacticsEvaluated] = false;
    perception.ResultsValid[TPerception::StrategiesFound] = false;
    return result;
}

}  // namespace kavo
