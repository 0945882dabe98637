#include "analyses/TResourceDependency.h"

#include <algorithm>
#include <cmath>

#include "analyses/TAnalysisRun.h"
#include "analyses/TSearchReplay.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

// The rationalities of a column's three searches: utility, satisfaction and frustration.
const std::vector<int> kRationalities{0, 3, 6};

void EnsureTacticsEvaluated(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::TacticsEvaluated]) {
        EvaluateAllTactics(perception);
    }
}

void AddActorOf(const TPerception& perception, std::vector<TActor*>& actors) {
    const TAiA* owner = perception.AiAOwner();
    if (owner != nullptr && std::ranges::find(actors, owner->Actor) == actors.end()) {
        actors.push_back(owner->Actor);
    }
}

}  // namespace

TResourceDependency::TResourceDependency(std::string title, TAnalysisFamily family)
    : TActorActorAnalysis(std::move(title), family) {}

TResourceDependency::~TResourceDependency() = default;

TSearchReplay& TResourceDependency::ReplayOf(TPerception& a, const std::vector<TTactic>& tactics) {
    std::unique_ptr<TSearchReplay>& replay = Replays[&a];
    if (replay == nullptr) {
        replay = std::make_unique<TSearchReplay>(a, tactics);
        // A column's three searches visit the same strategies.
        replay->ScoreTogether(kRationalities);
    }
    return *replay;
}

std::vector<TActor*> TResourceDependency::RowActors() const {
    std::vector<TActor*> actors;
    for (TPerception* b : RowPerceptions) {
        EnsureTacticsEvaluated(*b);
        if (const TPseudoGroup* group = b->GroupOwner()) {
            for (const TPerception* member : group->Perceptions) {
                AddActorOf(*member, actors);
            }
        } else {
            AddActorOf(*b, actors);
        }
    }
    return actors;
}

void TResourceDependency::RateLevels(const TFiP& action) {
    const int r = action.Perception->Rationality;
    int k = 0;
    int j = 0;
    bool relevant = false;
    for (int v = -3; v <= 3; ++v) {
        if (!action.ActionRange[v]) {
            continue;
        }
        ++TacticCount;
        const TProVal& u = action.LevelUtility[v];
        relevant = relevant || u.IsNonZero();
        const double mean = r <= 2   ? u.RawMean(Run->Case)
                            : r <= 5 ? action.LevelSatisfaction[v].RawMean(Run->Case)
                                     : action.LevelFrustration[v].RawMean(Run->Case);
        const double worst = r == 1   ? u.Worst()
                             : r == 4 ? action.LevelSatisfaction[v].Worst()
                                      : action.LevelFrustration[v].Worst();
        const bool maxiMin = r == 1 || r == 4 || r == 7;
        const double x = maxiMin ? worst : mean;
        if (r <= 2) {
            k += x > 0 ? 1 : 0;
            j += x < 0 ? 1 : 0;
        } else if (r <= 5) {
            k += x > 0 ? 1 : 0;
        } else {
            j += x > 0 ? 1 : 0;
        }
    }
    RelevantActions += relevant ? 1 : 0;
    OpportuneTactics += k;
    OpportuneActions += k > 0 ? 1 : 0;
    ThreateningTactics += j;
    ThreateningActions += j > 0 ? 1 : 0;
}

int TResourceDependency::SearchColumn(TStrategy& s, const std::vector<TFiP*>& others,
                                      TColumnResult& result) {
    s.Evaluate();
    result.BaseUtility = s.UtilityDist.RawMean(Run->Case);
    result.BaseSatisfaction = s.SatisfactionDist.RawMean(Run->Case);
    result.BaseFrustration = s.FrustrationDist.RawMean(Run->Case);
    // A search seeds the generator unless there is nothing to search: no goal or no tactic.
    result.Seeds = !s.Perception->Goals.empty() && !s.Tactics.empty();
    if (Run->Cancelled()) {
        return 0;
    }
    const std::vector<TScoreBounds> bounds = s.SearchScores(kRationalities, others);
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        // A search that found nothing varies nothing: the base case is all there is.
        const double base = s.ScoreUnder(kRationalities[i]);
        result.Best[i] = std::isfinite(bounds[i].Best) ? bounds[i].Best : base;
        result.Worst[i] = std::isfinite(bounds[i].Worst) ? bounds[i].Worst : base;
    }
    result.RandomAfter = Run->Case.Context().Random.State;
    return static_cast<int>(bounds.size());
}

int TResourceDependency::ReplayColumn(TSearchReplay& replay, const std::vector<bool>& held,
                                      TColumnResult& result) {
    const std::vector<std::int8_t> base(held.size(), 0);
    const std::array<double, 3> means = replay.Means(base);
    result.BaseUtility = means[0];
    result.BaseSatisfaction = means[1];
    result.BaseFrustration = means[2];
    result.Seeds = true;
    result.Replayed = true;
    int searches = 0;
    TSearchReplay::TFound found;
    for (; searches < 3 && !Run->Cancelled(); ++searches) {
        replay.Search(kRationalities[searches], base, held, found);
        // A search that kept nothing leaves the strategy as it ended.
        result.Best[searches] = std::isfinite(found.BestScore) ? found.BestScore : found.LastScore;
        result.Worst[searches] =
            std::isfinite(found.WorstScore) ? found.WorstScore : found.LastScore;
    }
    result.Last = std::move(found.Last);
    result.RandomAfter = Run->Case.Context().Random.State;
    return searches;
}

void TResourceDependency::AddColumn(const TColumnResult& result, int searches) {
    BaseUtility = result.BaseUtility;
    BaseSatisfaction = result.BaseSatisfaction;
    BaseFrustration = result.BaseFrustration;
    if (searches > 0) {
        UtilityToGain += result.Best[0] - BaseUtility;
        UtilityToLose += BaseUtility - result.Worst[0];
    }
    if (searches > 1) {
        SatisfactionToGain += result.Best[1] - BaseSatisfaction;
        SatisfactionToLose += BaseSatisfaction - result.Worst[1];
    }
    if (searches > 2) {
        FrustrationGainSum = FrustrationGainSum - result.Best[2] - BaseFrustration;
        FrustrationLossSum = FrustrationLossSum + BaseFrustration + result.Worst[2];
    }
}

bool TResourceDependency::ComputeColumn(TPerception& a, const std::vector<TActor*>& rowActors) {
    EnsureTacticsEvaluated(a);
    Run->NoteSampling(a);
    TStrategy s(&a, 0);
    TColumnKey key{&a, {}};
    std::vector<TFiP*>& others = key.second;
    for (const auto& fip : a.FiPs) {
        TFiP* p = fip.get();
        if (!a.IsFreeAction(p) || Run->Cancelled()) {
            continue;
        }
        s.Tactics.push_back({p, 0, true});
        // An action without a feasible level stays at 0, as strategy searches leave it out.
        const bool owned = std::ranges::find(rowActors, p->Factor->Owner) != rowActors.end();
        if (!owned || p->FeasibleCount == 0) {
            others.push_back(p);
        }
        if (owned) {
            RateLevels(*p);
        }
    }
    if (Caching) {
        if (const auto found = Columns.find(key); found != Columns.end()) {
            LastAsked[&a] = others;
            if (found->second.Seeds) {
                RandomAfterLast = found->second.RandomAfter;
            }
            AddColumn(found->second, 3);
            return true;
        }
    }
    TColumnResult result;
    TSearchReplay* replay = Caching ? &ReplayOf(a, s.Tactics) : nullptr;
    int searches = 0;
    if (replay != nullptr && replay->Replays()) {
        std::vector<bool> held;
        for (const TTactic& tactic : s.Tactics) {
            held.push_back(std::ranges::find(others, tactic.FiP) != others.end());
        }
        searches = ReplayColumn(*replay, held, result);
        // The next cells are of other column perceptions.
        replay->Release();
    } else {
        searches = SearchColumn(s, others, result);
    }
    AddColumn(result, searches);
    if (Caching && searches == 3 && !Run->Cancelled()) {
        if (result.Seeds) {
            RandomAfterLast = result.RandomAfter;
        }
        LastAsked[&a] = others;
        if (!result.Replayed) {
            LastRun[&a] = others;
        }
        Columns.emplace(std::move(key), std::move(result));
    }
    return searches == 3;
}

void TResourceDependency::TableStarted() {
    Caching = true;
}

void TResourceDependency::TableFinished() {
    // A cell whose searches were done before left A as an earlier cell's searches did: repeat
    // the last cell's, so that A's working values (saved with the case and drawn) are those they
    // give, then put the random generator where the table's last searches leave it.
    if (!Run->Cancelled()) {
        for (const auto& [a, others] : LastAsked) {
            const TColumnResult& last = Columns.at({a, others});
            if (!last.Replayed && LastRun[a] == others) {
                continue;
            }
            TStrategy s(a, 0);
            for (const auto& fip : a->FiPs) {
                if (a->IsFreeAction(fip.get())) {
                    s.Tactics.push_back({fip.get(), 0, true});
                }
            }
            if (last.Replayed) {
                // Searches leave A as an evaluation at the levels they end at.
                for (std::size_t t = 0; t < s.Tactics.size(); ++t) {
                    s.Tactics[t].Level = last.Last[t];
                }
                s.Evaluate();
                continue;
            }
            TColumnResult repeated;
            SearchColumn(s, others, repeated);
        }
        if (RandomAfterLast) {
            Run->Case.Context().Random.State = *RandomAfterLast;
        }
    }
    Caching = false;
    Columns.clear();
    Replays.clear();
    LastAsked.clear();
    LastRun.clear();
    RandomAfterLast.reset();
}

void TResourceDependency::Compute() {
    RelevantActions = OpportuneActions = ThreateningActions = 0;
    OpportuneTactics = ThreateningTactics = TacticCount = 0;
    BaseUtility = BaseSatisfaction = BaseFrustration = 0;
    UtilityToGain = UtilityToLose = SatisfactionToGain = SatisfactionToLose = 0;
    FrustrationGainSum = FrustrationLossSum = 0;
    const std::vector<TActor*> rowActors = RowActors();
    for (TPerception* a : ColumnPerceptions) {
        if (!ComputeColumn(*a, rowActors)) {
            return;
        }
    }
}

std::string TResourceDependency::ValueCells() {
    return SelectedCells({
        {fRelevantActions, NumberCell(fRelevantActions, RelevantActions)},
        {fOpportuneActions, NumberCell(fOpportuneActions, OpportuneActions)},
        {fOpportunePerRange, QuotientCell(fOpportunePerRange, OpportuneTactics, TacticCount, true)},
        {fThreateningActions, NumberCell(fThreateningActions, ThreateningActions)},
        {fThreateningPerRange,
         QuotientCell(fThreateningPerRange, ThreateningTactics, TacticCount, true)},
        {fBaseUtility, NumberCell(fBaseUtility, BaseUtility)},
        {fUtilityToGain, NumberCell(fUtilityToGain, UtilityToGain)},
        {fUtilityToLose, NumberCell(fUtilityToLose, UtilityToLose)},
        {fBaseSatisfaction, PercentCell(fBaseSatisfaction, BaseSatisfaction)},
        {fSatisfactionToGain, PercentCell(fSatisfactionToGain, SatisfactionToGain)},
        {fSatisfactionToLose, PercentCell(fSatisfactionToLose, SatisfactionToLose)},
        {fBaseFrustration, PercentCell(fBaseFrustration, BaseFrustration)},
        {fAvoidableFrustration, PercentCell(fAvoidableFrustration, -FrustrationGainSum)},
        {fAdditionalFrustration, PercentCell(fAdditionalFrustration, -FrustrationLossSum)},
    });
}

}  // namespace kavo
