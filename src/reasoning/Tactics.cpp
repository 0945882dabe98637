#include "reasoning/Tactics.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategy.h"

namespace kavo {

namespace {

bool Reaches(const TPerception& perception, const TFiP* from, const TFiP* to) {
    const TImpact* impact = ImpactBetween(perception, from, to);
    return impact != nullptr && impact->HasPaths();
}

void InferUnlessInferred(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
}

// The goals, in order, whose FiP the action reaches.
std::vector<TGoal*> AffectedGoals(TFiP& action) {
    const TPerception& perception = *action.Perception;
    std::vector<TGoal*> affected;
    for (const auto& goal : perception.Goals) {
        if (Reaches(perception, &action, goal->FiP)) {
            affected.push_back(goal.get());
        }
    }
    return affected;
}

// Rates the levels of the action. The propagation takes the sample over when there is one, and
// otherwise leaves its own there (an action that reaches no goal propagates nothing and leaves it
// as it was). Unless last, the perception's working values are left as they happen to be.
void RateLevels(TFiP& action, bool last, std::optional<std::vector<std::uint32_t>>& sample) {
    TPerception& perception = *action.Perception;
    const TCase& current = *perception.Case();
    const std::vector<TGoal*> affected = AffectedGoals(action);
    action.AffectedGoals = static_cast<int>(affected.size());
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        action.LevelUtility[level].Clear();
        action.LevelSatisfaction[level].Clear();
        action.LevelFrustration[level].Clear();
        if (affected.empty()) {
            action.LevelUtility[level].SetZero();
            action.LevelSatisfaction[level].SetZero();
            action.LevelFrustration[level].SetZero();
        }
    }
    if (affected.empty()) {
        return;
    }
    TStrategy strategy(&perception, perception.Rationality);
    strategy.Tactics.push_back({&action, 0, true});
    // One propagator serves the seven levels: it reads the level at each evaluation, and draws
    // its sample of uncertain values (the same for every evaluation) only once.
    TPropagator propagator(perception, strategy.Tactics, sample ? &*sample : nullptr);
    if (!sample) {
        sample = propagator.Sample();
    }
    // Only the affected goals' changes are read; when last, the last level is evaluated in full so
    // that the perception's working values are left as a full evaluation leaves them.
    propagator.RecordOnly({affected.begin(), affected.end()});
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        if (last && level == kMaxLevel) {
            propagator.RecordOnly({});
        }
        strategy.Tactics.front().Level = static_cast<std::int8_t>(level);
        strategy.EvaluateWith(propagator);
        for (const TGoal* goal : affected) {
            const TProVal change = strategy.OutcomeOf(goal);
            action.LevelUtility[level].Cumulate(current, Utility(*goal, change));
            action.LevelSatisfaction[level].Cumulate(current, Satisfaction(*goal, change));
            action.LevelFrustration[level].Cumulate(current, Frustration(*goal, change));
        }
    }
}

}  // namespace

void EvaluateTactics(TFiP& action) {
    std::optional<std::vector<std::uint32_t>> sample;
    RateLevels(action, true, sample);
}

void ExpectChanges(TPerception& perception) {
    CollectUncertainItems(perception);
    InferUnlessInferred(perception);
    TStrategy idle(&perception, perception.Rationality);
    idle.Evaluate();
    for (const auto& fip : perception.FiPs) {
        fip->AutonomousChange = fip->Change;
        fip->InfluencingProspects = 0;
        for (const auto& prospect : perception.Prospects) {
            if (Reaches(perception, prospect->FiP, fip.get())) {
                ++fip->InfluencingProspects;
            }
        }
    }
    perception.ResultsValid[TPerception::ChangesExpected] =
        !perception.Case()->Context().AnalysisCancelled;
}

void EvaluateAllTactics(TPerception& perception) {
    CollectUncertainItems(perception);
    InferUnlessInferred(perception);
    const TContext& context = perception.Case()->Context();
    // Every action's propagation draws the same sample of uncertain values: the first one's serves
    // them all.
    const TFiP* lastAction = nullptr;
    for (const auto& fip : perception.FiPs) {
        if (fip->Factor->IsAction && !AffectedGoals(*fip).empty()) {
            lastAction = fip.get();
        }
    }
    std::optional<std::vector<std::uint32_t>> sample;
    for (const auto& fip : perception.FiPs) {
        if (fip->Factor->IsAction && !context.AnalysisCancelled) {
            RateLevels(*fip, fip.get() == lastAction, sample);
        }
    }
    perception.ResultsValid[TPerception::TacticsEvaluated] = !context.AnalysisCancelled;
}

void FindStrategies(TPerception& perception, bool search) {
    TStrategy& standing = *perception.DefaultStrategy;
    TStrategy& best = *perception.BestStrategy;
    TStrategy& chosen = *perception.ChosenStrategy;
    for (TStrategy* strategy : {&standing, &best, &chosen}) {
        strategy->Tactics.clear();
        strategy->Rationality = perception.Rationality;
    }
    // The tactics change, so whatever an earlier search found no longer holds.
    best.Reset();
    for (const auto& fip : perception.FiPs) {
        if (!perception.IsFreeAction(fip.get()) || fip->FeasibleCount == 0) {
            continue;
        }
        const std::int8_t least = fip->FeasibleLevels[0];
        standing.Tactics.push_back({fip.get(), least, true});
        best.Tactics.push_back({fip.get(), least, true});
        const bool picked = IsLevel(fip->ChosenLevel);
        chosen.Tactics.push_back(
            {fip.get(), picked ? static_cast<std::int8_t>(fip->ChosenLevel) : least, true});
    }
    CollectUncertainItems(perception);
    InferUnlessInferred(perception);
    if (!perception.ResultsValid[TPerception::Inferred]) {
        return;
    }
    // The working values are left as the last full evaluation gives them, the search's when it
    // makes one, otherwise the chosen strategy's; the evaluations before fill only their results.
    standing.EvaluateResults();
    if (!search) {
        chosen.Evaluate();
    } else {
        chosen.EvaluateResults();
        if (perception.Case()->Context().AnalysisCancelled || !best.Search()) {
            chosen.Evaluate();
        }
    }
    perception.ResultsValid[TPerception::StrategiesFound] = best.Complete;
}

std::unique_ptr<TStrategy> SingleGoalStrategy(TPerception& perception, TGoal* goal) {
    auto strategy = std::make_unique<TStrategy>(&perception, perception.Rationality);
    strategy->SingleGoal = goal;
    InferUnlessInferred(perception);
    for (const auto& fip : perception.FiPs) {
        if (!perception.IsFreeAction(fip.get())) {
            continue;
        }
        const TImpact* impact = ImpactBetween(perception, fip.get(), goal->FiP);
        if (impact == nullptr || !impact->HasPaths()) {
            continue;
        }
        strategy->Tactics.push_back({fip.get(), 0, impact->Vector[0] < 1});
    }
    return strategy;
}

}  // namespace kavo
