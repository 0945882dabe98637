#include "reasoning/TStrategySearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>

#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/Inference.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

// How often a search lets the user's events run, in evaluations.
constexpr std::int64_t kEvaluationsPerPump = 500;

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

// Whether a prospect or link of the perception holds more than one pair: its evaluations visit
// combinations of uncertain values, and its strategies are not scored from the propagator's flat
// arrays.
// The kept strategy that sorting by total action puts first: the first found of the least.
template <typename TKept>
std::size_t FirstOfLeastAction(const TKept& kept) {
    const std::size_t tactics = kept.Levels.size() / kept.Scores.size();
    std::size_t first = 0;
    int least = 0;
    for (std::size_t i = 0; i < kept.Scores.size(); ++i) {
        int total = 0;
        for (std::size_t t = 0; t < tactics; ++t) {
            total += std::abs(kept.Levels[i * tactics + t]);
        }
        if (i == 0 || total < least) {
            first = i;
            least = total;
        }
    }
    return first;
}

bool HasUncertainItems(const TPerception& perception) {
    for (const auto& prospect : perception.Prospects) {
        if (prospect->Distribution.Count() > 1) {
            return true;
        }
    }
    for (const auto& link : perception.Links) {
        if (link->Distribution.Count() > 1) {
            return true;
        }
    }
    return false;
}

}  // namespace

TStrategySearch::TStrategySearch(TStrategy& strategy, const std::vector<TFiP*>& exclude)
    : Strategy(strategy), Current(*strategy.Perception->Case()), Exclude(exclude) {
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

bool TStrategySearch::Run() {
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
        return false;
    }
    if (s.Tactics.empty()) {
        s.Reset();
        s.Evaluate();
        s.BestScore = s.WorstScore = s.Score();
        s.Complete = true;
        return true;
    }
    s.Complete = false;
    const std::int64_t limit = Current.Evaluations > 0 ? Current.Evaluations : 100;
    const std::string name = perception.OwnerName();
    const bool enumerate = combinations <= static_cast<std::uint64_t>(limit);
    const std::string note = EstimateNote(perception);
    if (enumerate) {
        Tail = " of all " + std::to_string(combinations) + " strategies for " + name + note;
        context.Status.SetStatusText("Evaluating 1" + Tail);
        Step = std::max<std::int64_t>(static_cast<std::int64_t>(combinations / 100), 1);
    } else {
        Tail = " up to " + std::to_string(limit) + " out of " + std::to_string(combinations) +
               " strategies for " + name + note;
        context.Status.SetStatusText("Sampling" + Tail);
        Step = std::max<std::int64_t>(limit / 100, 1);
    }
    NextStatus = Step;
    NextPump = kEvaluationsPerPump;
    s.Reset();
    context.Status.PumpEvents();
    context.Random.Seed(static_cast<std::uint32_t>(Current.RandomSeed));
    Propagator = std::make_unique<TPropagator>(perception, s.Tactics);
    Quick = Propagator->IsCertain();
    if (Quick) {
        const int goal = s.SingleGoal != nullptr ? Propagator->GoalIndex(s.SingleGoal) : -1;
        Propagator->ScoreBy(s.Rationality, goal);
        // A goal the perception does not hold sees certain change 0 whatever the tactics.
        if (s.SingleGoal != nullptr && goal < 0) {
            FixedScore = s.ScoreForGoal(s.SingleGoal);
        }
    }
    // Without an observer to see every evaluation, the strategies that tie for the best or worst
    // are evaluated in full once the search ends; until then each is evaluated only as far as its
    // score needs.
    Deferred = Quick || s.Observer == nullptr;
    GoalReach = Propagator->GoalTactics();
    if (!Quick && Deferred) {
        if (s.SingleGoal != nullptr) {
            Propagator->RecordOnly({s.SingleGoal});
        } else if (!Rationalities.empty()) {
            Propagator->RecordScoreOnly(Rationalities);
        } else {
            Propagator->RecordScoreOnly(s.Rationality);
        }
    }

    if (enumerate) {
        Enumerate();
    } else {
        Sample(limit, combinations);
    }
    context.Status.PumpEvents();
    const std::vector<TTactic> last = s.Tactics;
    if (Deferred && Rationalities.empty()) {
        if (!Quick) {
            Propagator->RecordResultsOnly();
        }
        std::vector<bool> bestResults(Best.Scores.size(), !s.FirstBestResultsOnly);
        std::vector<bool> worstResults(Worst.Scores.size(), !s.FirstBestResultsOnly);
        if (s.FirstBestResultsOnly && !Best.Scores.empty()) {
            bestResults[FirstOfLeastAction(Best)] = true;
        }
        // Where every strategy ties, the best ones are the worst ones too.
        std::map<std::vector<std::int8_t>, const TStrategy*> results;
        Materialize(Best, s.BestStrategies, results, bestResults);
        Materialize(Worst, s.WorstStrategies, results, worstResults);
        s.Tactics = last;
    }
    if (Deferred) {
        Propagator->RecordOnly({});
    }
    // The working values of the model are left as the strategy's own levels give them.
    const bool evaluated = s.EvaluationCount > 0;
    if (evaluated) {
        s.EvaluateWith(*Propagator);
    }
    if (context.AnalysisCancelled) {
        return evaluated;
    }
    const auto byAction = [](const auto& a, const auto& b) {
        return a->TotalAction < b->TotalAction;
    };
    std::stable_sort(s.BestStrategies.begin(), s.BestStrategies.end(), byAction);
    std::stable_sort(s.WorstStrategies.begin(), s.WorstStrategies.end(), byAction);
    context.Status.SetStatusText("");
    s.Complete = true;
    return evaluated;
}

std::vector<TScoreBounds> TStrategySearch::RunScores(const std::vector<int>& rationalities) {
    TStrategy& s = Strategy;
    const TContext& context = Current.Context();
    // Scored together only where each strategy's evaluation is worth sharing: a certain
    // perception scores from flat arrays under one rationality, an observer sees every
    // evaluation, and without goals or tactics there is nothing to search.
    const TPerception& perception = *s.Perception;
    const bool together = rationalities.size() > 1 && s.Observer == nullptr &&
                          !perception.Goals.empty() && !s.Tactics.empty() &&
                          HasUncertainItems(perception);
    if (!together) {
        std::vector<TScoreBounds> bounds;
        for (const int rationality : rationalities) {
            s.Rationality = static_cast<std::uint8_t>(rationality);
            TStrategySearch(s, Exclude).Run();
            bounds.push_back({s.BestScore, s.WorstScore});
            if (context.AnalysisCancelled) {
                break;
            }
        }
        s.BestStrategies.clear();
        s.WorstStrategies.clear();
        return bounds;
    }
    // The searches one after the other seed the generator alike and sample the same strategies;
    // each ends with the same evaluation at the last levels.
    Rationalities = rationalities;
    Bounds.assign(rationalities.size(), {});
    s.Rationality = static_cast<std::uint8_t>(rationalities.back());
    Run();
    s.BestScore = Bounds.back().Best;
    s.WorstScore = Bounds.back().Worst;
    if (context.AnalysisCancelled) {
        Bounds.resize(1);
    }
    return Bounds;
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

namespace {

std::uint64_t Bit(std::size_t tactic) {
    return tactic < 64 ? std::uint64_t{1} << tactic : 0;
}

}  // namespace

void TStrategySearch::Enumerate() {
    std::vector<TTactic>& tactics = Strategy.Tactics;
    // The varied tactics run through their feasible levels like the digits of a counter, the last
    // one fastest; excluded tactics keep their level and held ones stay at 0.
    std::vector<std::size_t> varied;
    for (std::size_t t = 0; t < tactics.size(); ++t) {
        if (Excluded(t)) {
            continue;
        }
        if (Held(t)) {
            tactics[t].Level = 0;
            continue;
        }
        varied.push_back(t);
        tactics[t].Level = tactics[t].FiP->FeasibleLevels[0];
    }
    // In a certain perception the fastest digit's levels are scored together.
    const bool lanes =
        Quick && !FixedScore && !varied.empty() && Propagator->CanScoreLanes(varied.back());
    const std::size_t inner = lanes ? varied.size() - 1 : varied.size();
    std::vector<int> digit(varied.size(), 0);
    std::uint64_t changed = ~std::uint64_t{0};
    for (;;) {
        if (lanes && !EvaluateLevelsOf(varied.back(), changed)) {
            return;
        }
        if (!lanes) {
            const bool going = Count("Evaluating");
            Record(changed);
            if (!going) {
                return;
            }
        }
        changed = 0;
        std::size_t j = inner;
        for (; j > 0; --j) {
            TTactic& tactic = tactics[varied[j - 1]];
            changed |= Bit(varied[j - 1]);
            if (++digit[j - 1] < tactic.FiP->FeasibleCount) {
                tactic.Level = tactic.FiP->FeasibleLevels[static_cast<std::size_t>(digit[j - 1])];
                break;
            }
            digit[j - 1] = 0;
            tactic.Level = tactic.FiP->FeasibleLevels[0];
        }
        if (j == 0) {
            // Every tactic ends at its last level, as a search through nested loops leaves it.
            for (const std::size_t t : varied) {
                const TFiP* fip = tactics[t].FiP;
                tactics[t].Level =
                    fip->FeasibleLevels[static_cast<std::size_t>(fip->FeasibleCount - 1)];
            }
            return;
        }
    }
}

bool TStrategySearch::EvaluateLevelsOf(std::size_t tactic, std::uint64_t changed) {
    TTactic& varied = Strategy.Tactics[tactic];
    const auto count = static_cast<std::size_t>(varied.FiP->FeasibleCount);
    std::array<double, TPropagator::kLanes> scores{};
    Propagator->CertainScores(tactic, varied.FiP->FeasibleLevels.data(), count, changed,
                              scores.data());
    for (std::size_t l = 0; l < count; ++l) {
        varied.Level = varied.FiP->FeasibleLevels[l];
        const bool going = Count("Evaluating");
        Keep(scores[l]);
        if (!going) {
            return false;
        }
    }
    return true;
}

void TStrategySearch::Sample(std::int64_t limit, std::uint64_t combinations) {
    const double stride = std::nearbyint(static_cast<double>(combinations) / (limit * 0.5));
    std::uint64_t k = 0;
    TContext& context = Current.Context();
    std::vector<TTactic>& tactics = Strategy.Tactics;
    std::uint64_t changed = ~std::uint64_t{0};
    while (Strategy.EvaluationCount < limit && !context.AnalysisCancelled) {
        std::uint64_t m = k;
        for (std::size_t t = 0; t < tactics.size(); ++t) {
            const TFiP* fip = tactics[t].FiP;
            const auto count = static_cast<std::uint64_t>(fip->FeasibleCount);
            std::int8_t level = 0;
            if (Excluded(t)) {
                level = tactics[t].Level;
            } else if (Held(t)) {
                level = 0;
            } else if (count == 1) {
                level = fip->FeasibleLevels[0];
            } else {
                level = fip->FeasibleLevels[static_cast<std::size_t>(m % count)];
                m /= count;
            }
            changed |= level != tactics[t].Level ? Bit(t) : 0;
            tactics[t].Level = level;
        }
        Count("Sampling");
        Record(changed);
        changed = 0;
        k += static_cast<std::uint64_t>(std::nearbyint(context.Random.Next() * stride)) + 1;
    }
}

bool TStrategySearch::Count(const char* verb) {
    const std::int64_t count = ++Strategy.EvaluationCount;
    TContext& context = Current.Context();
    if (count == NextStatus) {
        NextStatus += Step;
        context.Status.SetStatusText(verb + (" " + std::to_string(count)) + Tail);
    }
    if (count == NextPump) {
        NextPump += kEvaluationsPerPump;
        context.Status.PumpEvents();
    }
    return !context.AnalysisCancelled;
}

void TStrategySearch::Record(std::uint64_t changed) {
    TStrategy& s = Strategy;
    double score = 0;
    if (Quick) {
        score = Propagator->CertainScore(changed);
        if (FixedScore) {
            score = *FixedScore;
        }
    } else if (!Deferred) {
        s.EvaluateWith(*Propagator);
        score = s.SingleGoal != nullptr ? s.ScoreForGoal(s.SingleGoal) : s.Score();
    } else {
        // Tactics that reach no goal change no score: a strategy that differs from one scored
        // before only in them takes its score over.
        std::vector<std::int8_t> key(s.Tactics.size(), 0);
        for (std::size_t t = 0; t < key.size(); ++t) {
            key[t] = t >= 64 || (GoalReach >> t & 1) != 0 ? s.Tactics[t].Level : 0;
        }
        const auto [known, fresh] = Scored.try_emplace(std::move(key), Scores.size());
        if (fresh) {
            s.EvaluateWith(*Propagator);
            const auto scoreUnder = [&s](int rationality) {
                return s.SingleGoal != nullptr ? s.ScoreForGoal(s.SingleGoal, rationality)
                                               : s.ScoreUnder(rationality);
            };
            if (Rationalities.empty()) {
                Scores.push_back(scoreUnder(s.Rationality));
            }
            for (const int rationality : Rationalities) {
                Scores.push_back(scoreUnder(rationality));
            }
        }
        if (!Rationalities.empty()) {
            KeepBounds(Scores.data() + known->second);
            return;
        }
        score = Scores[known->second];
    }
    Keep(score);
}

void TStrategySearch::Keep(double score) {
    TStrategy& s = Strategy;
    if (!(score >= s.BestScore) && !(score <= s.WorstScore)) {
        return;
    }
    if (score > s.BestScore) {
        s.BestStrategies.clear();
        Best.Clear();
        s.BestScore = score;
        s.BestTies = 0;
    }
    if (score == s.BestScore) {
        ++s.BestTies;
        KeepAs(Best, s.BestStrategies);
    }
    if (score < s.WorstScore) {
        s.WorstStrategies.clear();
        Worst.Clear();
        s.WorstScore = score;
        s.WorstTies = 0;
    }
    if (score == s.WorstScore) {
        ++s.WorstTies;
        KeepAs(Worst, s.WorstStrategies);
    }
}

void TStrategySearch::KeepBounds(const double* scores) {
    // As Keep moves the best and worst scores.
    for (std::size_t i = 0; i < Bounds.size(); ++i) {
        if (scores[i] > Bounds[i].Best) {
            Bounds[i].Best = scores[i];
        }
        if (scores[i] < Bounds[i].Worst) {
            Bounds[i].Worst = scores[i];
        }
    }
}

void TStrategySearch::KeepAs(TKept& kept, std::vector<std::unique_ptr<TStrategy>>& list) {
    const TStrategy& s = Strategy;
    // A search in which every strategy ties would otherwise hold millions of them.
    if (list.size() + kept.Scores.size() >= TStrategy::kMaxTies) {
        return;
    }
    if (!Deferred) {
        list.push_back(s.Clone());
        return;
    }
    // Only the levels and the scores a clone would carry; the strategy is evaluated and cloned
    // once the search knows which it keeps.
    kept.Scores.push_back({s.BestScore, s.WorstScore});
    for (const TTactic& tactic : s.Tactics) {
        kept.Levels.push_back(tactic.Level);
    }
}

void TStrategySearch::Materialize(const TKept& kept, std::vector<std::unique_ptr<TStrategy>>& list,
                                  std::map<std::vector<std::int8_t>, const TStrategy*>& evaluated,
                                  const std::vector<bool>& withResults) {
    TStrategy& s = Strategy;
    const std::size_t tactics = s.Tactics.size();
    // Strategies that differ only in tactics that reach no goal have the same results: the
    // first of them is evaluated, the others take its results over.
    for (std::size_t i = 0; i < kept.Scores.size(); ++i) {
        std::vector<std::int8_t> key(tactics, 0);
        for (std::size_t t = 0; t < tactics; ++t) {
            s.Tactics[t].Level = kept.Levels[i * tactics + t];
            key[t] = t >= 64 || (GoalReach >> t & 1) != 0 ? s.Tactics[t].Level : 0;
        }
        if (!withResults[i]) {
            std::unique_ptr<TStrategy> clone = s.Clone();
            clone->UtilityDist = TProVal(TProValKind::pvUtility);
            clone->SatisfactionDist = TProVal(TProValKind::pvSatisfaction);
            clone->FrustrationDist = TProVal(TProValKind::pvFrustration);
            clone->Outcomes.clear();
            clone->BestScore = kept.Scores[i].first;
            clone->WorstScore = kept.Scores[i].second;
            list.push_back(std::move(clone));
            continue;
        }
        const auto [same, fresh] = evaluated.try_emplace(key, nullptr);
        if (fresh) {
            s.EvaluateWith(*Propagator);
        } else {
            s.UtilityDist = same->second->UtilityDist;
            s.SatisfactionDist = same->second->SatisfactionDist;
            s.FrustrationDist = same->second->FrustrationDist;
            s.Outcomes = same->second->Outcomes;
            s.SampledCombinations = same->second->SampledCombinations;
        }
        list.push_back(s.Clone());
        if (fresh) {
            same->second = list.back().get();
        }
        list.back()->BestScore = kept.Scores[i].first;
        list.back()->WorstScore = kept.Scores[i].second;
    }
}

}  // namespace kavo
