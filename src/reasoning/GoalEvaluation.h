#pragma once

#include <string>

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TGoal;

// What a goal makes of a change of its factor. Every function reads the options of the case the
// goal's factor belongs to, except Stake and Interest, which read the given current case.

// A utility level u (-3..+3) in units of the case's highest utility level: UtilityLevels[u] /
// MaxUtility.
double UtilityValue(const TCase& options, int u);

// Distributions of utility, satisfaction (0..1) and frustration (0..1) for a change distribution;
// a distribution of another kind is reported and converted all the same. Satisfaction and
// frustration leave out the levels that bring none, so their pairs may sum to less than 1; with no
// pair at all they are certain 0.
TProVal Utility(const TGoal& goal, const TProVal& change);
TProVal Satisfaction(const TGoal& goal, const TProVal& change);
TProVal Frustration(const TGoal& goal, const TProVal& change);

// The same for one change value. Satisfaction and frustration are not clipped: a level of the
// opposite sign gives a negative value.
double UtilityOf(const TGoal& goal, double change);
double SatisfactionOf(const TGoal& goal, double change);
double FrustrationOf(const TGoal& goal, double change);

// How much the goal's owner can win or lose on it, 0..1.
double Stake(const TCase& current, const TGoal& goal);
// How far the levels lie from the best one on average, 0..1.
double Interest(const TCase& current, const TGoal& goal);
// Disagreement (>= 0) over the levels that one goal wants and the other does not.
double GoalConflict(const TGoal& goal, const TGoal& other);
bool IsNegative(const TGoal& goal);
// The goal of the opposite factor: utilities reflected around change 0, level negated.
void Mirror(TGoal& goal);
// Moves a goal of a new simulation round on by the change already achieved: initial is the
// perceiver's goal on the factor in the initial round, achieved the factor's accumulated change
// since then (its round value, 0 for unchanged). A goal left with priority 0 has been dropped and
// keeps its old utilities.
void AdaptGoal(TGoal& goal, const TGoal& initial, double achieved);

// "u" and the seven utility entries, e.g. u012-1-2-3-3.
std::string UtilityIconName(const TGoal& goal);

}  // namespace kavo
