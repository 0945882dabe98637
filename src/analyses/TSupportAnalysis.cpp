#include "analyses/TSupportAnalysis.h"

#include <algorithm>

#include "analyses/TAnalysisRun.h"
#include "analyses/TSearchReplay.h"
#include "model/Formats.h"
#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

void EnsureStrategiesFound(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::StrategiesFound]) {
        FindStrategies(perception, true);
    }
}

// The levels the adapted strategy gives A's actions: those of the best strategy A's search found,
// or its own when A did not search.
const TStrategy& AdaptedLevels(const TStrategy& adaptation) {
    return adaptation.BestStrategies.empty() ? adaptation : *adaptation.BestStrategies.front();
}

std::vector<std::int8_t> LevelsOf(const TStrategy& strategy) {
    std::vector<std::int8_t> levels;
    levels.reserve(strategy.Tactics.size());
    for (const TTactic& tactic : strategy.Tactics) {
        levels.push_back(tactic.Level);
    }
    return levels;
}

// An exact copy of a rated strategy, with copies of the strategies its search kept. (Clone makes
// a new strategy from the tactics instead: it recounts TotalAction and keeps no search results.)
std::unique_ptr<TStrategy> CopyOf(const TStrategy& strategy) {
    auto copy = std::make_unique<TStrategy>(strategy.Perception, strategy.Rationality);
    copy->Tactics = strategy.Tactics;
    copy->TotalAction = strategy.TotalAction;
    copy->UtilityDist = strategy.UtilityDist;
    copy->SatisfactionDist = strategy.SatisfactionDist;
    copy->FrustrationDist = strategy.FrustrationDist;
    copy->Outcomes = strategy.Outcomes;
    copy->BestScore = strategy.BestScore;
    copy->WorstScore = strategy.WorstScore;
    for (const auto& best : strategy.BestStrategies) {
        copy->BestStrategies.push_back(CopyOf(*best));
    }
    for (const auto& worst : strategy.WorstStrategies) {
        copy->WorstStrategies.push_back(CopyOf(*worst));
    }
    copy->BestTies = strategy.BestTies;
    copy->WorstTies = strategy.WorstTies;
    copy->SingleGoal = strategy.SingleGoal;
    copy->Complete = strategy.Complete;
    copy->EvaluationCount = strategy.EvaluationCount;
    copy->StrategyCount = strategy.StrategyCount;
    copy->SampledCombinations = strategy.SampledCombinations;
    copy->Observer = strategy.Observer;
    return copy;
}

std::string LevelImage(int level) {
    return "<img src=\"gif/r" + std::to_string(level) + "-1.gif\"> ";
}

}  // namespace

TSupportAnalysis::TSupportAnalysis(std::string title, TAnalysisFamily family)
    : TActorActorAnalysis(std::move(title), family) {}

TSupportAnalysis::~TSupportAnalysis() = default;

const TStrategy& TSupportAnalysis::Rate(TStrategy& t, bool optimize,
                                        const std::vector<TFiP*>& fixed,
                                        const std::vector<std::uint32_t>* sample) {
    if (optimize) {
        t.Search(fixed);
        if (!t.BestStrategies.empty()) {
            return *t.BestStrategies.front();
        }
    }
    // Without a free action of A the search records nothing: T as it stands is the outcome.
    if (sample != nullptr) {
        TPropagator propagator(*t.Perception, t.Tactics, sample);
        t.EvaluateWith(propagator);
    } else {
        t.Evaluate();
    }
    return t;
}

TSupportAnalysis::TColumn& TSupportAnalysis::ColumnOf(TPerception& a) {
    const auto found = Columns.find(&a);
    if (found != Columns.end()) {
        return found->second;
    }
    const TPropagator propagator(a, a.DefaultStrategy->Tactics);
    return Columns[&a] = {propagator.Sample(), propagator.GoalTactics(),
                          std::make_unique<TSearchReplay>(a, a.DefaultStrategy->Tactics)};
}

void TSupportAnalysis::RateOnce(TPerception& a, std::unique_ptr<TStrategy>& t, std::size_t at) {
    const bool optimize = FieldSelected(fLetAOptimize);
    const bool keep = FieldSelected(fAdaptation);
    TRatingKey exact{&a, optimize, optimize ? FixedActions : std::vector<TFiP*>{}, LevelsOf(*t)};
    if (!Caching) {
        Take(Rated(*t, optimize, nullptr), at);
        return;
    }
    TColumn& column = ColumnOf(a);
    // Levels that reach no goal change no distribution and no outcome, evaluated or searched
    // around; but a kept search holds them in the strategies it found.
    TRatingKey key = exact;
    if (!optimize || !keep) {
        std::vector<std::int8_t>& levels = std::get<3>(key);
        for (std::size_t i = 0; i < levels.size() && i < 64; ++i) {
            levels[i] = (column.GoalReach >> i & 1) != 0 ? levels[i] : std::int8_t{0};
        }
    }
    if (const auto found = Ratings.find(key); found != Ratings.end()) {
        const TRating& rating = found->second;
        if (rating.Rated != nullptr) {
            std::vector<TTactic> tactics = t->Tactics;
            t = CopyOf(*rating.Rated);
            // Levels that reach no goal changed nothing but the tactics themselves.
            if (!optimize) {
                t->Tactics = std::move(tactics);
            }
        }
        Take(rating, at);
        LastAsked[&a] = {std::move(exact), &rating};
        return;
    }
    // A search kept for A's adaptation is rated in full, since the strategy itself is shown.
    const TSearchReplay& replay = *column.Replay;
    const bool replayed = optimize ? !keep && replay.Replays() : replay.Keeps();
    TRating rating =
        replayed ? Replayed(*column.Replay, *t, optimize) : Rated(*t, optimize, &column.Sample);
    Take(rating, at);
    if (!Run->Cancelled()) {
        if (keep) {
            rating.Rated = CopyOf(*t);
        }
        if (!replayed) {
            LastRun[&a] = exact;
        }
        const auto stored = Ratings.insert_or_assign(std::move(key), std::move(rating)).first;
        LastAsked[&a] = {std::move(exact), &stored->second};
    }
}

TSupportAnalysis::TRating TSupportAnalysis::Replayed(TSearchReplay& replay, const TStrategy& t,
                                                     bool optimize) {
    TRating rating;
    rating.Replayed = true;
    std::vector<std::int8_t> levels = LevelsOf(t);
    if (optimize) {
        std::vector<bool> held;
        for (const TTactic& tactic : t.Tactics) {
            held.push_back(std::ranges::find(FixedActions, tactic.FiP) != FixedActions.end());
        }
        TSearchReplay::TFound found;
        replay.Search(t.Rationality, levels, held, found);
        // Without a best strategy the outcome is T as the search left it.
        levels = found.Best.empty() ? found.Last : found.Best;
        rating.Last = std::move(found.Last);
        rating.Seeds = true;
        rating.RandomAfter = Run->Case.Context().Random.State;
    }
    const std::array<double, 3> means = replay.Means(levels);
    rating.Utility = means[0];
    rating.Satisfaction = means[1];
    rating.Frustration = means[2];
    return rating;
}

TSupportAnalysis::TRating TSupportAnalysis::Rated(TStrategy& t, bool optimize,
                                                  const std::vector<std::uint32_t>* sample) {
    TPerception& a = *t.Perception;
    TContext& context = Run->Case.Context();
    const std::uint32_t randomBefore = context.Random.State;
    const TStrategy& outcome = Rate(t, optimize, FixedActions, sample);
    TRating rating;
    rating.Utility = outcome.UtilityDist.RawMean(Run->Case);
    rating.Satisfaction = outcome.SatisfactionDist.RawMean(Run->Case);
    rating.Frustration = outcome.FrustrationDist.RawMean(Run->Case);
    // A search seeds the generator unless A has no goal or T no tactic.
    rating.Seeds = (optimize && !a.Goals.empty() && !t.Tactics.empty()) ||
                   context.Random.State != randomBefore;
    rating.RandomAfter = context.Random.State;
    return rating;
}

void TSupportAnalysis::Take(const TRating& rating, std::size_t at) {
    SupportUtility[at] = rating.Utility;
    SupportSatisfaction[at] = rating.Satisfaction;
    SupportFrustration[at] = rating.Frustration;
    // Later cells see the generator as these ratings would have left it.
    if (rating.Seeds) {
        Run->Case.Context().Random.State = rating.RandomAfter;
    }
}

void TSupportAnalysis::Compute() {
    FixedActions.clear();
    Adaptations.clear();
    StrategyCount = 0;
    if (RowPerceptions.empty() || ColumnPerceptions.empty()) {
        return;
    }
    TPerception& b = *RowPerceptions.front();
    TPerception& a = *ColumnPerceptions.front();
    EnsureStrategiesFound(b);
    EnsureStrategiesFound(a);
    if (b.BestStrategy == nullptr || b.BestStrategy->Tactics.empty() ||
        a.DefaultStrategy == nullptr) {
        return;
    }
    const auto& ideal = b.BestStrategy->BestStrategies;
    StrategyCount = static_cast<int>(std::min<std::size_t>(ideal.size(), kMaxStrategies));
    for (int k = 1; k <= StrategyCount; ++k) {
        std::unique_ptr<TStrategy> t = a.DefaultStrategy->Clone();
        for (const TTactic& tactic : ideal[static_cast<std::size_t>(k - 1)]->Tactics) {
            const auto u = std::ranges::find_if(t->Tactics, [&](const TTactic& candidate) {
                return candidate.FiP->Factor == tactic.FiP->Factor;
            });
            if (u == t->Tactics.end()) {
                continue;
            }
            u->Level = tactic.Level;
            if (k == 1) {
                FixedActions.push_back(u->FiP);
            }
        }
        RateOnce(a, t, static_cast<std::size_t>(k - 1));
        if (FieldSelected(fAdaptation)) {
            Adaptations.push_back(std::move(t));
        }
    }
    // The next cells are of other column perceptions.
    if (const auto column = Columns.find(&a); column != Columns.end()) {
        column->second.Replay->Release();
    }
    Run->NoteSampling(a);
    Run->NoteSampling(b);
}

void TSupportAnalysis::TableStarted() {
    Caching = true;
}

void TSupportAnalysis::TableFinished() {
    // A cell whose ratings were made before, or came from kept scores and results, left A as an
    // earlier cell's ratings did: evaluate what the last cell's last rating leaves evaluated (T,
    // or where A's search ended) or repeat that rating, so that A's working values (saved with
    // the case and drawn) are those it gives; the random generator already stands where the
    // table's last rating left it.
    if (!Run->Cancelled()) {
        TRandom& random = Run->Case.Context().Random;
        const std::uint32_t state = random.State;
        for (const auto& [a, asked] : LastAsked) {
            const auto& [key, rating] = asked;
            if (!rating->Replayed && LastRun[a] == key) {
                continue;
            }
            const std::vector<std::int8_t>& levels = std::get<3>(key);
            const std::vector<TFiP*>& fixed = std::get<2>(key);
            bool optimize = std::get<1>(key);
            std::unique_ptr<TStrategy> t = a->DefaultStrategy->Clone();
            for (std::size_t i = 0; i < t->Tactics.size(); ++i) {
                TTactic& tactic = t->Tactics[i];
                const bool held = std::ranges::find(fixed, tactic.FiP) != fixed.end();
                tactic.Level = rating->Replayed && optimize && !held ? rating->Last[i] : levels[i];
            }
            // A search leaves A as an evaluation at the levels it ends at.
            optimize = optimize && !rating->Replayed;
            Rate(*t, optimize, fixed, &ColumnOf(*a).Sample);
        }
        random.State = state;
    }
    Caching = false;
    Ratings.clear();
    Columns.clear();
    LastAsked.clear();
    LastRun.clear();
}

std::string TSupportAnalysis::ValuesCell(int field,
                                         const std::array<double, kMaxStrategies>& v) const {
    if (StrategyCount == 0) {
        return DashCell();
    }
    const bool asPercent = field != fUtility;
    const auto valueCell = [&](int i) {
        return FieldAt(field).FormatCell(asPercent, v[static_cast<std::size_t>(i)]);
    };
    double max = v[0];
    double min = v[0];
    int best = 1;
    for (int i = 2; i <= StrategyCount; ++i) {
        const double x = v[static_cast<std::size_t>(i - 1)];
        if (x < min) {
            min = x;
        } else if (x > max) {
            max = x;
            best = i;
        }
    }
    std::string cell = "<td><table class=\"" + FormatProbability(asPercent ? max * 100 : max) +
                       "\" width=\"100%\">";
    const std::string n = std::to_string(StrategyCount);
    if (StrategyCount < 2) {
        cell += "<tr>" + valueCell(0) + "</tr>";
    } else if (max - min > 0.001 && FieldSelected(fFullStrategySet)) {
        for (int i = 1; i <= StrategyCount; ++i) {
            cell +=
                "<tr><td class=\"sn\">" + std::to_string(i) + "</td>" + valueCell(i - 1) + "</tr>";
        }
    } else if (max - min <= 0.001) {
        cell += "<tr><td class=\"sn\">all&nbsp;" + n + "</td>" + valueCell(0) + "</tr>";
    } else {
        cell += "<tr><td class=\"sn\">" + std::to_string(best) + "</td>" + valueCell(best - 1) +
                "</tr>";
    }
    return cell + "</table></td>";
}

std::string TSupportAnalysis::AdaptationCell() const {
    if (Adaptations.empty()) {
        return "<td></td>";
    }
    const TStrategy& first = *Adaptations.front();
    std::string rows;
    for (std::size_t i = 0; i < first.Tactics.size(); ++i) {
        const TFiP* fip = first.Tactics[i].FiP;
        if (std::ranges::find(FixedActions, fip) != FixedActions.end()) {
            continue;
        }
        std::string levels;
        for (std::size_t j = 0; j < Adaptations.size(); ++j) {
            const TStrategy& adapted = AdaptedLevels(*Adaptations[j]);
            const int level = i < adapted.Tactics.size() ? adapted.Tactics[i].Level : 0;
            levels += (Adaptations.size() > 1 ? std::to_string(j + 1) : "") + LevelImage(level);
        }
        rows += "<tr><td><img src=\"gif/" + KindWord(fip->Factor) + ".gif\">" +
                FactorDisplayName(fip->Factor->Name) + "</td><td class=\"sn\">" + levels +
                "</td></tr>";
    }
    return "<td><table>" + rows + "</table></td>";
}

std::string TSupportAnalysis::ValueCells() {
    std::string cells;
    cells += FieldSelected(fUtility) ? ValuesCell(fUtility, SupportUtility) : "";
    cells += FieldSelected(fSatisfaction) ? ValuesCell(fSatisfaction, SupportSatisfaction) : "";
    cells += FieldSelected(fFrustration) ? ValuesCell(fFrustration, SupportFrustration) : "";
    cells += FieldSelected(fAdaptation) ? AdaptationCell() : "";
    return cells;
}

}  // namespace kavo
