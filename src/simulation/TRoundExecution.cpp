#include "simulation/TRoundExecution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>

#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/Inference.h"
#include "reasoning/Merge.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"
#include "simulation/Rounds.h"

namespace kavo {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

TAiA* RecordOf(const TArena& arena, const TActor* actor) {
    for (const auto& record : arena.Actors) {
        if (record->Actor == actor) {
            return record.get();
        }
    }
    return nullptr;
}

// Holds an action at one level: its range and its feasible levels become that level alone.
void Fix(TFiP& action, int level) {
    action.ActionRange = TActionRange{};
    action.ActionRange[level] = true;
    action.UpdateFeasibleLevels();
}

}  // namespace

TRoundExecution::TRoundExecution(TCase& owningCase) : Case(owningCase) {}

bool TRoundExecution::CanStartFrom(const TArena* previous) const {
    if (FindRound(Case, 0) == nullptr) {
        Case.Messages().ShowWarning("Compile and check initial state (*Round 0) first");
        return false;
    }
    if (previous == nullptr || !RoundNumber(*previous)) {
        Case.Messages().ShowWarning("Select round to start from");
        return false;
    }
    if (NextNumber(*previous) > kMaxRound) {
        Case.Messages().ShowWarning("A simulation has at most " + std::to_string(kMaxRound) +
                                    " rounds");
        return false;
    }
    return true;
}

int TRoundExecution::NextNumber(const TArena& previous) {
    return RoundNumber(previous).value_or(-1) + 1;
}

std::optional<TRoundReport> TRoundExecution::Run(TArena* previous) {
    if (!CanStartFrom(previous)) {
        return std::nullopt;
    }
    return Execute(*previous);
}

TRoundReport TRoundExecution::Execute(TArena& previousRound) {
    TArena* previous = &previousRound;
    const TArena& roundZero = *FindRound(Case, 0);
    const int n = NextNumber(*previous);
    TakeRoundsFrom(Case, n);
    Report = TRoundReport{};
    Report.Number = n;
    TArena& round = *Case.FindOrCreateArena(RoundName(n));
    Report.Round = &round;
    TPerception& reality = *round.AnalystView;
    CopyPerception(*previous->AnalystView, reality);

    for (const auto& source : previous->Actors) {
        TAiA& record = *round.AddActor(source->Actor);
        record.Priority = source->Priority;
        CopyPerception(*source->Perception, *record.Perception);
        if (!Case.MaintainActionRange) {
            TakeActionRanges(*record.Perception, roundZero);
        }
        if (Case.AdaptGoals) {
            AdaptGoals(record, roundZero, round);
        }
    }
    if (Case.SampleFromDistributions) {
        DrawUncertainties(Case.MaintainActionRange ? *previous : roundZero, reality, n);
    }
    InferInfluences(reality);
    for (const auto& record : round.Actors) {
        if (!record->Perception->ResultsValid[TPerception::TacticsEvaluated]) {
            EvaluateAllTactics(*record->Perception);
        }
    }
    std::stable_sort(round.Actors.begin(), round.Actors.end(),
                     [](const auto& a, const auto& b) { return a->Priority < b->Priority; });
    const TContext& context = Case.Context();
    for (const auto& record : round.Actors) {
        if (context.AnalysisCancelled) {
            break;
        }
        TActorTurn turn;
        Play(*record, *previous, turn);
        Report.Turns.push_back(std::move(turn));
    }
    if (!context.AnalysisCancelled) {
        Apply(reality);
    }
    if (context.AnalysisCancelled) {
        Case.ArenaList.Delete(&round);
        Report.Round = nullptr;
        Report.Cancelled = true;
    }
    Case.Modified = true;
    return Report;
}

void TRoundExecution::TakeActionRanges(TPerception& perception, const TArena& roundZero) {
    for (const auto& fip : perception.FiPs) {
        if (!fip->Factor->IsAction) {
            continue;
        }
        const TFiP* initial = roundZero.AnalystView->FindFiP(fip->Factor);
        if (initial == nullptr) {
            Case.Messages().ShowWarning("Factor " + Quoted(fip->Factor->Name) +
                                        " undefined in *Round 0");
            continue;
        }
        fip->ActionRange = initial->ActionRange;
        fip->FeasibleLevels = initial->FeasibleLevels;
        fip->FeasibleCount = initial->FeasibleCount;
    }
}

// Each goal of the actor's round-0 perception adapts a goal of its own: a factor with goals from
// several arenas keeps them apart. A goal dropped in an earlier round comes back as a copy of the
// initial one, adapted afresh, since adaptation always starts from the initial goal.
void TRoundExecution::AdaptGoals(TAiA& record, const TArena& roundZero, const TArena& round) {
    const TAiA* initialRecord = RecordOf(roundZero, record.Actor);
    const std::string& actorName = record.Actor->Name;
    if (initialRecord == nullptr) {
        Case.Messages().ShowWarning("Actor " + Quoted(actorName) + " undefined in *Round 0");
        return;
    }
    TPerception& perception = *record.Perception;
    std::set<const TGoal*> adapted;
    std::vector<TGoal*> dropped;
    for (const auto& initial : initialRecord->Perception->Goals) {
        const TFactor* factor = initial->FiP->Factor;
        TFiP* fip = perception.FindFiP(factor);
        if (fip == nullptr) {
            Case.Messages().ShowWarning("Factor " + Quoted(factor->Name) +
                                        " undefined in perception of " + actorName + " in " +
                                        round.Name);
            continue;
        }
        TGoal* goal = nullptr;
        for (const auto& candidate : perception.Goals) {
            if (candidate->FiP == fip && !adapted.contains(candidate.get())) {
                goal = candidate.get();
                break;
            }
        }
        if (goal == nullptr) {
            goal = initial->CopyTo(perception);
        }
        adapted.insert(goal);
        const TFiP* state = round.AnalystView->FindFiP(factor);
        if (state == nullptr) {
            Case.Messages().ShowWarning("Factor " + Quoted(factor->Name) +
                                        " undefined in analyst view of " + round.Name);
            continue;
        }
        AdaptGoal(*goal, *initial, state->RoundValue);
        if (goal->Priority == 0) {
            dropped.push_back(goal);
        }
    }
    for (TGoal* goal : dropped) {
        perception.Remove(goal);
    }
}

// Each round draws from the case's seed and its own number, so that a round executed again from
// the same state draws the same values, whatever ran in between.
void TRoundExecution::DrawUncertainties(const TArena& source, TPerception& reality, int n) {
    TRandom& random = Case.Context().Random;
    random.Seed(static_cast<std::uint32_t>(Case.RandomSeed) ^
                (static_cast<std::uint32_t>(n) * 1373591u));
    const TPerception& from = *source.AnalystView;
    const auto draw = [this](const TProVal& distribution, auto& item) {
        if (distribution.Count() < 2) {
            item.Distribution = distribution;
        } else {
            item.Distribution = distribution.Sample(Case);
        }
        item.Summarize(Case);
    };
    for (const auto& prospect : reality.Prospects) {
        const TFactor* factor = prospect->FiP->Factor;
        const TFiP* fip = from.FindFiP(factor);
        const TProspect* original = fip != nullptr ? from.ProspectOf(fip) : nullptr;
        if (fip == nullptr) {
            Case.Messages().ShowWarning("Factor " + Quoted(factor->Name) + " undefined in " +
                                        source.Name);
        } else if (original == nullptr) {
            Case.Messages().ShowWarning("No prospect defined for " + Quoted(factor->Name) + " in " +
                                        source.Name);
        } else {
            draw(original->Distribution, *prospect);
        }
    }
    for (const auto& link : reality.Links) {
        const TFactor* cause = link->FromFiP->Factor;
        const TFactor* effect = link->ToFiP->Factor;
        if (const TLink* original = from.FindLink(cause, effect, true)) {
            draw(original->Distribution, *link);
        } else {
            Case.Messages().ShowWarning("Link between" + Quoted(cause->Name) + " and " +
                                        Quoted(effect->Name) + " undefined in " + source.Name);
        }
    }
    reality.InvalidateResults();
}

std::optional<int> TRoundExecution::ChosenLevel(const TFactor* action) const {
    for (const TActionLevel& chosen : Report.ChosenActions) {
        if (chosen.Action == action) {
            return chosen.Level;
        }
    }
    return std::nullopt;
}

void TRoundExecution::Play(TAiA& record, const TArena& previous, TActorTurn& turn) {
    TPerception& perception = *record.Perception;
    turn.Actor = &record;
    turn.Priority = record.Priority;
    for (const auto& fip : perception.FiPs) {
        const TActor* owner = fip->Factor->Owner;
        if (!perception.IsFreeAction(fip.get()) || owner == nullptr || owner == record.Actor) {
            continue;
        }
        const int level = ChosenLevel(fip->Factor).value_or(ExpectedLevel(previous, *fip));
        Fix(*fip, level);
        turn.Fixed.push_back({fip->Factor, level});
    }
    FindStrategies(perception, true);
    const TStrategy& search = *perception.BestStrategy;
    turn.BestScore = search.BestScore;
    turn.Evaluations = search.EvaluationCount;
    turn.Complete = search.Complete;
    turn.SampledCombinations = SampledCombinations(perception);
    if (search.BestStrategies.empty()) {
        return;
    }
    for (const TTactic& tactic : search.BestStrategies.front()->Tactics) {
        turn.Best.push_back({tactic.FiP->Factor, tactic.Level});
        if (tactic.FiP->Factor->Owner == record.Actor) {
            Report.ChosenActions.push_back({tactic.FiP->Factor, tactic.Level});
            Fix(*tactic.FiP, tactic.Level);
        }
    }
}

// The level the owner of an action is expected to repeat: in its perception of the previous round,
// the first of the action's feasible levels with the highest expected utility. That perception's
// ratings are computed when they are not at hand (for round 0, or a round read from a file), so
// the expectation never depends on what was looked at before.
int TRoundExecution::ExpectedLevel(const TArena& previous, const TFiP& action) {
    const TAiA* owner = RecordOf(previous, action.Factor->Owner);
    TFiP* rated = owner != nullptr ? owner->Perception->FindFiP(action.Factor) : nullptr;
    if (rated == nullptr) {
        return 0;
    }
    if (!owner->Perception->ResultsValid[TPerception::TacticsEvaluated]) {
        EvaluateAllTactics(*owner->Perception);
    }
    int best = 0;
    double bestUtility = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < rated->FeasibleCount; ++i) {
        const int level = rated->FeasibleLevels[static_cast<std::size_t>(i)];
        const double utility = rated->LevelUtility[level].RawMean(Case);
        if (utility > bestUtility) {
            bestUtility = utility;
            best = level;
        }
    }
    return best;
}

// The chosen actions act on the pseudo-reality; a free action nobody chose is held at level 0,
// which is what it does in this round.
void TRoundExecution::Apply(TPerception& reality) {
    TStrategy strategy(&reality, reality.Rationality);
    for (const auto& fip : reality.FiPs) {
        if (!reality.IsFreeAction(fip.get())) {
            continue;
        }
        const std::optional<int> level = ChosenLevel(fip->Factor);
        Fix(*fip, level.value_or(0));
        if (level) {
            strategy.Tactics.push_back({fip.get(), static_cast<std::int8_t>(*level), false});
        }
    }
    if (!reality.ResultsValid[TPerception::Inferred]) {
        InferInfluences(reality);
    }
    CollectUncertainItems(reality);
    strategy.Evaluate();
    Report.SampledCombinations = strategy.SampledCombinations;
    for (const auto& fip : reality.FiPs) {
        UpdateRoundValue(*fip, Case);
    }
}

}  // namespace kavo
