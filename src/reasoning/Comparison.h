#pragma once

#include <memory>

#include "reasoning/TConflict.h"

namespace kavo {

class TComparisonProfile;
class TFactor;
class TPerception;

// Comparisons of two perceptions, usually of one arena. Items are matched by their factor; every
// item of the first perception is paired with every item of the second on the same factor. Each
// returns a new conflict with Perception1 = first and Perception2 = second.

// Over goals on the same factor: the goal conflict of each pair.
std::unique_ptr<TConflict> CompareGoals(TPerception& first, TPerception& second);
// Over every ordered pair of factors both show, the joint intensity of the impacts both see;
// Count is the number of the first perception's impacts with a path. Infers each when needed.
std::unique_ptr<TConflict> CompareInfluences(TPerception& first, TPerception& second);
// Over prospects on the same factor: the level distance of each pair.
std::unique_ptr<TConflict> CompareProspects(TPerception& first, TPerception& second);
// Over the first perception's free actions that the second shows: how far the expected utilities
// of each feasible level lie apart where the two disagree in sign. Rates the tactics of each
// when needed.
std::unique_ptr<TConflict> CompareTactics(TPerception& first, TPerception& second);

// The same comparisons of two perceptions of one case through their profiles, for comparing each
// of many perceptions with many others: the conflict has no perceptions set, and its details only
// when asked for. The influences (tactics) need profiles that took them, of perceptions inferred
// (with their tactics evaluated).
TConflict GoalConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                        bool details);
TConflict InfluenceConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                             bool details);
TConflict ProspectConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                            bool details);
TConflict TacticConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                          bool details);

// What the perceiver would like a factor to do: for an action that reaches a goal the level with
// the best rating (first of equals, all seven levels scanned) and its score; for a factor with a
// goal the direction of the goal level (-1, 0, +1) and the utility of that level. Rates the
// perception's tactics when they are not rated.
struct TPreferredChange {
    bool Valid = false;
    int Level = 0;
    double Value = 0;
};
TPreferredChange PreferredChange(TPerception& perception, const TFactor* factor);

}  // namespace kavo
