#include "reasoning/TStrategySearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

// How often a search lets the user's events run, in evaluations.
constexpr std::int64_t kEvaluationsPerPump = 500;

double ScoreFromSums(const TGoalSums& sums, int rationality) {
    switch (rationality) {
        case 0:
        case 1:
            return sums.Utility;
        case 3:
        case 4:
            return sums.Satisfaction;
        case 6:
        case 7:
            return -sums.Frustration;
        default:
            return 0;
    }
}

// Says, for the search's status text, that each strategy's score is an estimate.
std::string EstimateNote(const TPerception& perception) {
    const std::uint64_t sampled = SampledCombinations(perception);
    if (sampled == 0) {
        return {};
    }
    const std::uint64_t all = UncertainCombinations(perception);
    const std::string count = all == std::numeric_limits<std::uint64_t>::max()
                                  ? "more than " + std::to_string(all)
                                  : std::to_string(all);
    return ", each estimated on " + std::to_string(sampled) + " of " + count +
           " combinations of uncertain values";
}

}  // namespace

TStrategySearch::TStrategySearch(TStrategy& strategy, const std::vector<TFiP*>& exclude)
    : Strategy(strategy), Current(*strategy.Perception->Case()) {
    for (const TTactic& tactic : strategy.Tactics) {
        IsExcluded.push_back(std::find(exclude.begin(), exclude.end(), tactic.FiP) !=
                             exclude.end());
    }
}

TStrategySearch::~TStrategySearch() = default;

bool TStrategySearch::Excluded(std::size_t tactic) const {
    return IsExcluded[tactic];
}

bool TStrategySearch::Held(std::size_t tactic) const {
    const TTactic& t = Strategy.Tactics[tactic];
    return Excluded(tactic) || !t.IsVaried || t.FiP->FeasibleCount == 0;
}

void TStrategySearch::Run() {
    TStrategy& s = Strategy;
    TPerception& perception = *s.Perception;
    TContext& context = Current.Context();
    s.EvaluationCount = 0;
    const std::uint64_t combinations = StrategyCount();
    s.StrategyCount = combinations;
    if (perception.Goals.empty()) {
        s.Reset();
        s.BestStrategies.push_back(perception.DefaultStrategy->Clone());
        s.WorstStrategies.push_back(perception.DefaultStrategy->Clone());
        s.BestScore = s.WorstScore = 0;
        s.Complete = true;
        return;
    }
    if (s.Tactics.empty()) {
        s.Reset();
        s.Evaluate();
        s.BestScore = s.WorstScore = s.Score();
        s.Complete = true;
        return;
    }
    s.Complete = false;
    const std::int64_t limit = Current.Evaluations > 0 ? Current.Evaluations : 100;
    const std::string name = perception.OwnerName();
    const bool enumerate = combinations <= static_cast<std::uint64_t>(limit);
    if (enumerate) {
        Tail = " of all " + std::to_string(combinations) + " strategies for " + name;
        context.Status.SetStatusText("Evaluating 1" + Tail);
        Step = std::max<std::int64_t>(static_cast<std::int64_t>(combinations / 100), 1);
    } else {
        Tail = " up to " + std::to_string(limit) + " out of " + std::to_string(combinations) +
               " strategies for " + name;
        context.Status.SetStatusText("Sampling" + Tail);
        Step = std::max<std::int64_t>(limit / 100, 1);
    }
    Tail += EstimateNote(perception);
    s.Reset();
    context.Status.PumpEvents();
    context.Random.Seed(static_cast<std::uint32_t>(Current.RandomSeed));
    Propagator = std::make_unique<TPropagator>(perception, s.Tactics);
    SingleGoalIndex = s.SingleGoal != nullptr ? Propagator->GoalIndex(s.SingleGoal) : -1;

    if (enumerate) {
        Enumerate(0);
    } else {
        Sample(limit, combinations);
    }
    context.Status.PumpEvents();
    // The working values of the model are left as the strategy's own levels give them.
    if (s.EvaluationCount > 0) {
        s.EvaluateWith(*Propagator);
    }
    if (context.AnalysisCancelled) {
        return;
    }
    const auto byAction = [](const auto& a, const auto& b) {
        return a->TotalAction < b->TotalAction;
    };
    std::stable_sort(s.BestStrategies.begin(), s.BestStrategies.end(), byAction);
    std::stable_sort(s.WorstStrategies.begin(), s.WorstStrategies.end(), byAction);
    context.Status.SetStatusText("");
    s.Complete = true;
}

std::uint64_t TStrategySearch::StrategyCount() const {
    const std::vector<TTactic>& tactics = Strategy.Tactics;
    std::uint64_t combinations = 1;
    for (std::size_t t = 0; t < tactics.size(); ++t) {
        if (!Held(t)) {
            const auto count = static_cast<std::uint64_t>(tactics[t].FiP->FeasibleCount);
            combinations = combinations > std::numeric_limits<std::uint64_t>::max() / count
                               ? std::numeric_limits<std::uint64_t>::max()
                               : combinations * count;
        }
    }
    return combinations;
}

void TStrategySearch::Enumerate(std::size_t i) {
    if (Stopped) {
        return;
    }
    std::vector<TTactic>& tactics = Strategy.Tactics;
    if (i < tactics.size() && Excluded(i)) {
        Enumerate(i + 1);
        return;
    }
    if (i < tactics.size()) {
        TTactic& tactic = tactics[i];
        if (Held(i)) {
            tactic.Level = 0;
            Enumerate(i + 1);
            return;
        }
        for (int f = 0; f < tactic.FiP->FeasibleCount && !Stopped; ++f) {
            tactic.Level = tactic.FiP->FeasibleLevels[static_cast<std::size_t>(f)];
            Enumerate(i + 1);
        }
        return;
    }
    Stopped = !Count("Evaluating");
    Record();
}

void TStrategySearch::Sample(std::int64_t limit, std::uint64_t combinations) {
    const double stride = std::nearbyint(static_cast<double>(combinations) / (limit * 0.5));
    std::uint64_t k = 0;
    TContext& context = Current.Context();
    std::vector<TTactic>& tactics = Strategy.Tactics;
    while (Strategy.EvaluationCount < limit && !context.AnalysisCancelled) {
        std::uint64_t m = k;
        for (std::size_t t = 0; t < tactics.size(); ++t) {
            const TFiP* fip = tactics[t].FiP;
            const auto count = static_cast<std::uint64_t>(fip->FeasibleCount);
            if (Held(t)) {
                tactics[t].Level = 0;
            } else if (count == 1) {
                tactics[t].Level = fip->FeasibleLevels[0];
            } else {
                tactics[t].Level = fip->FeasibleLevels[static_cast<std::size_t>(m % count)];
                m /= count;
            }
        }
        Count("Sampling");
        Record();
        k += static_cast<std::uint64_t>(std::nearbyint(context.Random.Next() * stride)) + 1;
    }
}

bool TStrategySearch::Count(const char* verb) {
    const std::int64_t count = ++Strategy.EvaluationCount;
    TContext& context = Current.Context();
    if (count % Step == 0) {
        context.Status.SetStatusText(verb + (" " + std::to_string(count)) + Tail);
    }
    if (count % kEvaluationsPerPump == 0) {
        context.Status.PumpEvents();
    }
    return !context.AnalysisCancelled;
}

double TStrategySearch::QuickScore() {
    const TGoalSums sums = Propagator->EvaluateCertain();
    if (Strategy.SingleGoal == nullptr) {
        return ScoreFromSums(sums, Strategy.Rationality);
    }
    if (SingleGoalIndex >= 0) {
        return Propagator->CertainGoalScore(SingleGoalIndex, Strategy.Rationality);
    }
    return Strategy.ScoreForGoal(Strategy.SingleGoal);
}

void TStrategySearch::Record() {
    TStrategy& s = Strategy;
    const bool quick = Propagator->IsCertain();
    double score = 0;
    if (quick) {
        score = QuickScore();
    } else {
        s.EvaluateWith(*Propagator);
        score = s.SingleGoal != nullptr ? s.ScoreForGoal(s.SingleGoal) : s.Score();
    }
    if (!(score >= s.BestScore) && !(score <= s.WorstScore)) {
        return;
    }
    // A strategy worth keeping is evaluated in full, for its outcomes and distributions.
    if (quick) {
        s.EvaluateWith(*Propagator);
    }
    if (score > s.BestScore) {
        s.BestStrategies.clear();
        s.BestScore = score;
    }
    if (score == s.BestScore) {
        s.BestStrategies.push_back(s.Clone());
    }
    if (score < s.WorstScore) {
        s.WorstStrategies.clear();
        s.WorstScore = score;
    }
    if (score == s.WorstScore) {
        s.WorstStrategies.push_back(s.Clone());
    }
}

}  // namespace kavo
