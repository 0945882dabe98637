#include "reasoning/GoalEvaluation.h"

#include <algorithm>
#include <cstdlib>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"

namespace kavo {

namespace {

const TCase& OptionsOf(const TGoal& goal) {
    return *goal.FiP->Factor->Case;
}

// Utility entries may run beyond -3..+3 in edited tables; they count as the outermost level.
double Level(const TLevels<double>& levels, int u) {
    return levels[std::clamp(u, kMinLevel, kMaxLevel)];
}

int Sign(int x) {
    return (x > 0) - (x < 0);
}

TProVal Prepared(const TCase& options, const TProVal& change, TProValKind kind,
                 const char* complaint) {
    if (change.Kind != TProValKind::pvChange) {
        options.Messages().ShowError(complaint);
    }
    TProVal result(kind);
    result.Cumulation = 1;
    return result;
}

void ZeroWhenEmpty(TProVal& result) {
    if (result.Empty()) {
        result.SetZero();
    }
}

}  // namespace

double UtilityValue(const TCase& options, int u) {
    return options.MaxUtility != 0 ? Level(options.UtilityLevels, u) / options.MaxUtility : 0;
}

TProVal Utility(const TGoal& goal, const TProVal& change) {
    const TCase& options = OptionsOf(goal);
    TProVal result =
        Prepared(options, change, TProValKind::pvUtility, "Calculate utility of change only");
    const TProbVector v = change.ToVector(options);
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        result.Add(options, v[i], UtilityValue(options, goal.Utilities[i]));
    }
    return result;
}

TProVal Satisfaction(const TGoal& goal, const TProVal& change) {
    const TCase& options = OptionsOf(goal);
    TProVal result = Prepared(options, change, TProValKind::pvSatisfaction,
                              "Calculate satisfaction of change only");
    const TProbVector v = change.ToVector(options);
    const int h = goal.HighUtility;
    const double best = Level(options.UtilityLevels, h);
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        const int u = goal.Utilities[i];
        if (h == 0 && u == 0) {
            result.Add(options, v[i], 1);
        } else if (h > 0 && u > 0 && best != 0) {
            result.Add(options, v[i], Level(options.UtilityLevels, u) / best);
        }
    }
    ZeroWhenEmpty(result);
    return result;
}

TProVal Frustration(const TGoal& goal, const TProVal& change) {
    const TCase& options = OptionsOf(goal);
    TProVal result = Prepared(options, change, TProValKind::pvFrustration,
                              "Calculate frustration of change only");
    const TProbVector v = change.ToVector(options);
    const double worst = Level(options.UtilityLevels, goal.LowUtility);
    if (goal.LowUtility < 0 && worst != 0) {
        for (int i = kMinLevel; i <= kMaxLevel; ++i) {
            const int u = goal.Utilities[i];
            if (u < 0) {
                result.Add(options, v[i], Level(options.UtilityLevels, u) / worst);
            }
        }
    }
    ZeroWhenEmpty(result);
    return result;
}

double UtilityOf(const TGoal& goal, double change) {
    const TCase& options = OptionsOf(goal);
    return UtilityValue(options, goal.Utilities[options.ChangeLevelOf(change)]);
}

double SatisfactionOf(const TGoal& goal, double change) {
    const TCase& options = OptionsOf(goal);
    const int u = goal.Utilities[options.ChangeLevelOf(change)];
    const double best = Level(options.UtilityLevels, goal.HighUtility);
    // A goal without anything to win is satisfied where it loses nothing either.
    if (best == 0) {
        return u == 0 ? 1 : 0;
    }
    return Level(options.UtilityLevels, u) / best;
}

double FrustrationOf(const TGoal& goal, double change) {
    const TCase& options = OptionsOf(goal);
    const int u = goal.Utilities[options.ChangeLevelOf(change)];
    const double worst = Level(options.UtilityLevels, goal.LowUtility);
    return worst == 0 ? 0 : Level(options.UtilityLevels, u) / worst;
}

double Stake(const TCase& current, const TGoal& goal) {
    const TLevels<double>& u = current.UtilityLevels;
    return (Level(u, goal.HighUtility) - Level(u, goal.LowUtility)) / (2 * current.MaxUtility);
}

double Interest(const TCase& current, const TGoal& goal) {
    const TLevels<double>& u = current.UtilityLevels;
    double sum = 0;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        sum += Level(u, goal.HighUtility) - Level(u, goal.Utilities[i]);
    }
    return sum / (12 * current.MaxUtility);
}

double GoalConflict(const TGoal& goal, const TGoal& other) {
    const TCase& options = OptionsOf(goal);
    const TLevels<double>& u = options.UtilityLevels;
    double sum = 0;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        const int mine = goal.Utilities[i];
        const int theirs = other.Utilities[i];
        if ((mine > 0 && theirs <= 0) || (mine < 0 && theirs >= 0)) {
            sum += std::abs(Level(u, mine) - Level(u, theirs));
        }
    }
    return sum / (7 * options.MaxUtility);
}

bool IsNegative(const TGoal& goal) {
    return goal.HighUtility <= 0;
}

void Mirror(TGoal& goal) {
    const TLevels<std::int8_t> old = goal.Utilities;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        goal.Utilities[i] = old[-i];
    }
    goal.Level = static_cast<std::int8_t>(-goal.Level);
}

void AdaptGoal(TGoal& goal, const TGoal& initial, double achieved) {
    const TCase& options = OptionsOf(goal);
    const int g = initial.Level;
    const int p = initial.Priority;
    const int a = options.ExtendedChangeLevelOf(achieved);
    const auto become = [&goal](TGoalType type, int level, int priority) {
        goal.GoalType = type;
        goal.Level = static_cast<std::int8_t>(level);
        goal.Priority = static_cast<std::uint8_t>(priority);
    };
    if (a == 0) {
        become(initial.GoalType, g, p);
        // Nothing was achieved, so a custom goal keeps the utilities it started from.
        if (initial.GoalType == TGoalType::gtCustom) {
            goal.Utilities = initial.Utilities;
            goal.UpdateSummary();
            return;
        }
    } else if (initial.GoalType == TGoalType::gtStandard) {
        const int d = g - a;
        if ((a >= 3 && g == 3) || (a <= -3 && g == -3)) {
            if (std::abs(d) == 3) {
                become(TGoalType::gtStandard, 0, 0);
            } else {
                become(TGoalType::gtNegative, d - Sign(g), p);
            }
        } else {
            become(TGoalType::gtStandard, std::clamp(d, kMinLevel, kMaxLevel),
                   std::abs(d) <= 3 ? p : std::min(3, p + std::abs(d) - 3));
        }
    } else if ((g < 0 && a > g + 4) || (g > 0 && a < g - 4)) {
        goal.Level = 0;
        goal.Priority = 0;
    } else if ((g < 0 && a > 0) || (g > 0 && a < 0)) {
        become(TGoalType::gtNegative, std::clamp(g - a, kMinLevel, kMaxLevel), p);
    } else {
        const int achieved = std::clamp(a, kMinLevel, kMaxLevel);
        if (std::abs(achieved) < std::abs(g)) {
            become(TGoalType::gtNegative, g - achieved, p);
        } else {
            become(TGoalType::gtStandard, -achieved,
                   std::clamp(p + std::abs(achieved) - std::abs(g) + 1, 1, 3));
        }
    }
    if (goal.Priority > 0) {
        const TUtilityVectors& table = goal.GoalType == TGoalType::gtStandard
                                           ? options.StdUtilityVectors
                                           : options.NegUtilityVectors;
        goal.Utilities = table.Row(goal.Priority, goal.Level);
        goal.UpdateSummary();
    }
}

std::string UtilityIconName(const TGoal& goal) {
    std::string name = "u";
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        name += std::to_string(goal.Utilities[i]);
    }
    return name;
}

}  // namespace kavo
