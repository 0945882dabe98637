#pragma once

#include <memory>

namespace kavo {

class TFiP;
class TGoal;
class TPerception;
class TStrategy;

// Rates one action level by level: for each level -3..+3, whatever the action range, what setting
// the action alone to it brings to each goal it reaches (prospects act, other actions do not). The
// level distributions carry Cumulation = AffectedGoals, so their Mean is the average over those
// goals; an action that reaches no goal gets certain 0 everywhere. The perception must have been
// inferred.
void EvaluateTactics(TFiP& action);
// Every FiP's AutonomousChange (nobody acts) and InfluencingProspects; infers first when needed.
void ExpectChanges(TPerception& perception);
// EvaluateTactics for every action of the perception, inferring first when needed.
void EvaluateAllTactics(TPerception& perception);
// Builds the three standing strategies from the free actions with a feasible level: default and
// best at each action's least action, chosen at the user's chosen level where there is one. With
// search, the best strategy searches all combinations.
void FindStrategies(TPerception& perception, bool search);
// A strategy for one goal alone over the free actions that reach it; an action whose impact is
// certainly 0 is held at level 0.
std::unique_ptr<TStrategy> SingleGoalStrategy(TPerception& perception, TGoal* goal);

}  // namespace kavo
