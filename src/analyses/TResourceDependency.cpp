#include "analyses/TResourceDependency.h"

#include <algorithm>
#include <cmath>

#include "analyses/TAnalysisRun.h"
#include "model/TAiA.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

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

bool TResourceDependency::SearchUnder(TStrategy& s, int rationality,
                                      const std::vector<TFiP*>& others, double& best,
                                      double& worst) {
    if (Run->Cancelled()) {
        return false;
    }
    s.Rationality = static_cast<std::uint8_t>(rationality);
    s.Search(others);
    // A search that found nothing varies nothing: the base case is all there is.
    best = std::isfinite(s.BestScore) ? s.BestScore : s.Score();
    worst = std::isfinite(s.WorstScore) ? s.WorstScore : s.Score();
    return true;
}

bool TResourceDependency::ComputeColumn(TPerception& a, const std::vector<TActor*>& rowActors) {
    EnsureTacticsEvaluated(a);
    Run->NoteSampling(a);
    TStrategy s(&a, 0);
    std::vector<TFiP*> others;
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
    s.Evaluate();
    BaseUtility = s.UtilityDist.RawMean(Run->Case);
    BaseSatisfaction = s.SatisfactionDist.RawMean(Run->Case);
    BaseFrustration = s.FrustrationDist.RawMean(Run->Case);
    double best = 0;
    double worst = 0;
    if (!SearchUnder(s, 0, others, best, worst)) {
        return false;
    }
    UtilityToGain += best - BaseUtility;
    UtilityToLose += BaseUtility - worst;
    if (!SearchUnder(s, 3, others, best, worst)) {
        return false;
    }
    SatisfactionToGain += best - BaseSatisfaction;
    SatisfactionToLose += BaseSatisfaction - worst;
    if (!SearchUnder(s, 6, others, best, worst)) {
        return false;
    }
    FrustrationGainSum = FrustrationGainSum - best - BaseFrustration;
    FrustrationLossSum = FrustrationLossSum + BaseFrustration + worst;
    return true;
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
