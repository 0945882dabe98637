#include "analyses/TSearchReplay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

// How often a search lets the user's events run, in strategies visited.
constexpr std::int64_t kVisitsPerPump = 500;

}  // namespace

// Evaluates strategies one after the other with one propagator, which computes again only what
// the tactics changed since the last one reach: either their scores under a rationality, as a
// search scores those it has not met (from the flat arrays of a certain perception), or the
// results a strategy holds.
class TSearchReplay::TScorer {
  public:
    // A rationality 0..8, or -1 for the results. An uncertain perception's evaluation fills what
    // the scores under every rationality of together read, when the rationality is among them.
    TScorer(TPerception& perception, const std::vector<TTactic>& tactics, int rationality,
            const std::vector<int>& together)
        : Strategy(&perception, std::max(rationality, 0)) {
        Strategy.Tactics = tactics;
        Propagator = std::make_unique<TPropagator>(perception, Strategy.Tactics);
        Certain = rationality >= 0 && Propagator->IsCertain();
        if (rationality < 0) {
            Propagator->RecordResultsOnly();
        } else if (Certain) {
            Propagator->ScoreBy(rationality);
        } else if (std::ranges::find(together, rationality) != together.end()) {
            Propagator->RecordScoreOnly(together);
        } else {
            Propagator->RecordScoreOnly(rationality);
        }
    }

    bool IsCertain() const { return Certain; }

    double Score(const std::vector<std::int8_t>& levels) {
        SetLevels(levels);
        if (Certain) {
            return Propagator->CertainScore(~std::uint64_t{0});
        }
        Strategy.EvaluateWith(*Propagator);
        return Strategy.Score();
    }

    // After Score of an uncertain perception: the same strategy's score under a rationality of
    // those scored together.
    double ScoreUnder(int rationality) const { return Strategy.ScoreUnder(rationality); }

    std::array<double, 3> Means(const std::vector<std::int8_t>& levels) {
        SetLevels(levels);
        Strategy.EvaluateWith(*Propagator);
        const TCase& current = *Strategy.Perception->Case();
        return {Strategy.UtilityDist.RawMean(current), Strategy.SatisfactionDist.RawMean(current),
                Strategy.FrustrationDist.RawMean(current)};
    }

  private:
    void SetLevels(const std::vector<std::int8_t>& levels) {
        for (std::size_t t = 0; t < levels.size(); ++t) {
            Strategy.Tactics[t].Level = levels[t];
        }
    }

    TStrategy Strategy;
    std::unique_ptr<TPropagator> Propagator;
    bool Certain = false;
};

TSearchReplay::TSearchReplay(TPerception& perception, std::vector<TTactic> tactics)
    : Perception(perception), Tactics(std::move(tactics)) {
    HasGoals = !perception.Goals.empty();
    if (Keeps()) {
        Reach = TPropagator(perception, Tactics).GoalTactics();
    }
}

TSearchReplay::~TSearchReplay() = default;

void TSearchReplay::Release() {
    for (std::unique_ptr<TScorer>& scorer : Scorers) {
        scorer.reset();
    }
}

TSearchReplay::TScorer& TSearchReplay::ScorerFor(int rationality) {
    std::unique_ptr<TScorer>& scorer = Scorers[static_cast<std::size_t>(rationality + 1)];
    if (scorer == nullptr) {
        scorer = std::make_unique<TScorer>(Perception, Tactics, rationality, Together);
    }
    return *scorer;
}

std::uint64_t TSearchReplay::Key(const std::vector<std::int8_t>& levels) const {
    std::uint64_t key = 0;
    for (std::size_t t = 0; t < levels.size(); ++t) {
        const int level = (Reach >> t & 1) != 0 ? levels[t] : 0;
        key |= static_cast<std::uint64_t>(level + 3) << (3 * t);
    }
    return key;
}

bool TSearchReplay::Search(int rationality, const std::vector<std::int8_t>& levels,
                           const std::vector<bool>& excluded, TFound& found) {
    const TCase& current = *Perception.Case();
    TContext& context = current.Context();
    const std::size_t n = Tactics.size();
    const auto held = [&](std::size_t t) {
        return excluded[t] || !Tactics[t].IsVaried || Tactics[t].FiP->FeasibleCount == 0;
    };
    std::uint64_t combinations = 1;
    for (std::size_t t = 0; t < n; ++t) {
        if (!held(t)) {
            const auto count = static_cast<std::uint64_t>(Tactics[t].FiP->FeasibleCount);
            combinations = combinations > std::numeric_limits<std::uint64_t>::max() / count
                               ? std::numeric_limits<std::uint64_t>::max()
                               : combinations * count;
        }
    }
    const std::int64_t limit = current.Evaluations > 0 ? current.Evaluations : 100;
    context.Random.Seed(static_cast<std::uint32_t>(current.RandomSeed));

    std::unordered_map<std::uint64_t, double>& scores =
        Scores[static_cast<std::size_t>(rationality)];
    std::vector<std::int8_t> at = levels;
    found.BestScore = -std::numeric_limits<double>::infinity();
    found.WorstScore = std::numeric_limits<double>::infinity();
    found.Best.clear();
    std::uint64_t bestKept = 0;
    int bestTotal = 0;
    std::int64_t visits = 0;
    // Scores the strategy at its current levels and keeps it as the search keeps strategies that
    // tie or beat the best or worst; false once the user has cancelled.
    const auto visit = [&] {
        if (++visits % kVisitsPerPump == 0) {
            context.Status.PumpEvents();
        }
        const std::uint64_t key = Key(at);
        const auto [known, fresh] = scores.try_emplace(key, 0.0);
        if (fresh) {
            TScorer& scorer = ScorerFor(rationality);
            known->second = scorer.Score(at);
            if (!scorer.IsCertain() && std::ranges::find(Together, rationality) != Together.end()) {
                for (const int other : Together) {
                    Scores[static_cast<std::size_t>(other)].try_emplace(key,
                                                                        scorer.ScoreUnder(other));
                }
            }
        }
        const double score = known->second;
        found.LastScore = score;
        if (score > found.BestScore) {
            found.BestScore = score;
            found.Best.clear();
            bestKept = 0;
        }
        if (score == found.BestScore && bestKept < TStrategy::kMaxTies) {
            ++bestKept;
            int total = 0;
            for (const std::int8_t level : at) {
                total += std::abs(level);
            }
            if (found.Best.empty() || total < bestTotal) {
                found.Best = at;
                bestTotal = total;
            }
        }
        found.WorstScore = score < found.WorstScore ? score : found.WorstScore;
        return !context.AnalysisCancelled;
    };

    if (combinations <= static_cast<std::uint64_t>(limit)) {
        // The varied tactics run through their feasible levels like the digits of a counter, the
        // last one fastest, and end at their last levels.
        std::vector<std::size_t> varied;
        for (std::size_t t = 0; t < n; ++t) {
            if (excluded[t]) {
                continue;
            }
            if (held(t)) {
                at[t] = 0;
                continue;
            }
            varied.push_back(t);
            at[t] = Tactics[t].FiP->FeasibleLevels[0];
        }
        std::vector<int> digit(varied.size(), 0);
        for (;;) {
            if (!visit()) {
                found.Last = at;
                return false;
            }
            std::size_t j = varied.size();
            for (; j > 0; --j) {
                const TFiP& fip = *Tactics[varied[j - 1]].FiP;
                if (++digit[j - 1] < fip.FeasibleCount) {
                    at[varied[j - 1]] = fip.FeasibleLevels[static_cast<std::size_t>(digit[j - 1])];
                    break;
                }
                digit[j - 1] = 0;
                at[varied[j - 1]] = fip.FeasibleLevels[0];
            }
            if (j == 0) {
                for (const std::size_t t : varied) {
                    const TFiP& fip = *Tactics[t].FiP;
                    at[t] = fip.FeasibleLevels[static_cast<std::size_t>(fip.FeasibleCount - 1)];
                }
                found.Last = at;
                return true;
            }
        }
    }
    // Samples about limit of them, a random stride apart, each tactic a digit of the strategy's
    // number, the first one fastest.
    const double stride = std::nearbyint(static_cast<double>(combinations) / (limit * 0.5));
    std::uint64_t k = 0;
    bool going = true;
    while (visits < limit && going) {
        std::uint64_t m = k;
        for (std::size_t t = 0; t < n; ++t) {
            const TFiP& fip = *Tactics[t].FiP;
            const auto count = static_cast<std::uint64_t>(fip.FeasibleCount);
            if (excluded[t]) {
                continue;
            }
            if (held(t)) {
                at[t] = 0;
            } else if (count == 1) {
                at[t] = fip.FeasibleLevels[0];
            } else {
                at[t] = fip.FeasibleLevels[static_cast<std::size_t>(m % count)];
                m /= count;
            }
        }
        going = visit();
        k += static_cast<std::uint64_t>(std::nearbyint(context.Random.Next() * stride)) + 1;
    }
    found.Last = at;
    return going;
}

std::array<double, 3> TSearchReplay::Means(const std::vector<std::int8_t>& levels) {
    const auto [known, fresh] = KnownMeans.try_emplace(Key(levels));
    if (fresh) {
        known->second = ScorerFor(-1).Means(levels);
    }
    return known->second;
}

}  // namespace kavo
