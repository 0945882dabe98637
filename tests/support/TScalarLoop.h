#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo::test {

// The yardstick of the strategy search: a plain loop that evaluates every strategy from scratch.
// The perception's links become arrays (source and multiplier per link, in propagation order);
// each strategy runs one multiply-add per link and a level look-up per goal, and nothing is
// allocated. It reads certain perceptions whose factors all add their causes (as the benchmark
// perceptions are) and scores by total utility; the perception must have been inferred.
class TScalarLoop {
  public:
    TScalarLoop(const TPerception& perception, const std::vector<TFiP*>& actions) {
        const TCase& current = *perception.Case();
        for (int level = -3; level <= 3; ++level) {
            Levels[static_cast<std::size_t>(level + 3)] = current.ChangeLevels[level];
        }
        const auto index = [&perception](const TFiP* fip) {
            for (std::size_t i = 0; i < perception.FiPs.size(); ++i) {
                if (perception.FiPs[i].get() == fip) {
                    return static_cast<int>(i);
                }
            }
            return -1;
        };
        const int zero = static_cast<int>(perception.FiPs.size());
        Change.assign(perception.FiPs.size() + 1, 0);
        std::vector<bool> placed(perception.FiPs.size(), false);
        for (const TFiP* fip : perception.Order) {
            TStep step{index(fip), -1, static_cast<int>(Source.size()), 0, 0};
            for (std::size_t a = 0; a < actions.size(); ++a) {
                step.Action = actions[a] == fip ? static_cast<int>(a) : step.Action;
            }
            if (const TProspect* prospect = perception.ProspectOf(fip)) {
                step.Prospect = prospect->Distribution[0].Value;
            }
            for (const TLink* link : fip->InLinks) {
                const int source = index(link->FromFiP);
                Source.push_back(placed[static_cast<std::size_t>(source)] ? source : zero);
                Multiplier.push_back(link->Distribution[0].Value);
            }
            step.End = static_cast<int>(Source.size());
            placed[static_cast<std::size_t>(step.Fip)] = true;
            Steps.push_back(step);
        }
        for (const auto& goal : perception.Goals) {
            GoalFiP.push_back(placed[static_cast<std::size_t>(index(goal->FiP))] ? index(goal->FiP)
                                                                                 : zero);
            std::array<double, 7> utility{};
            for (int level = -3; level <= 3; ++level) {
                utility[static_cast<std::size_t>(level + 3)] =
                    UtilityValue(current, goal->Utilities[level]);
            }
            GoalUtility.push_back(utility);
        }
        for (const TFiP* action : actions) {
            Feasible.push_back(action->FeasibleLevels);
            FeasibleCount.push_back(action->FeasibleCount);
        }
        Level.assign(actions.size(), 0);
    }

    // The total utility of the goals with each action at the given level.
    double Utility(const std::vector<std::int8_t>& levels) {
        Level = levels;
        return Evaluate();
    }

    struct TResult {
        double Best = -std::numeric_limits<double>::infinity();
        double Worst = std::numeric_limits<double>::infinity();
        std::int64_t BestTies = 0;
        std::int64_t WorstTies = 0;
        std::int64_t Evaluations = 0;
    };

    // Every combination of the actions' feasible levels, the last action changing fastest.
    TResult Search() {
        TResult result;
        std::vector<int> digit(Level.size(), 0);
        for (std::size_t a = 0; a < Level.size(); ++a) {
            Level[a] = Feasible[a][0];
        }
        for (;;) {
            const double u = Evaluate();
            ++result.Evaluations;
            result.BestTies = u > result.Best ? 0 : result.BestTies;
            result.Best = u > result.Best ? u : result.Best;
            result.BestTies += u == result.Best ? 1 : 0;
            result.WorstTies = u < result.Worst ? 0 : result.WorstTies;
            result.Worst = u < result.Worst ? u : result.Worst;
            result.WorstTies += u == result.Worst ? 1 : 0;
            std::size_t a = Level.size();
            while (a > 0 && ++digit[a - 1] == FeasibleCount[a - 1]) {
                digit[a - 1] = 0;
                Level[a - 1] = Feasible[a - 1][0];
                --a;
            }
            if (a == 0) {
                return result;
            }
            Level[a - 1] = Feasible[a - 1][static_cast<std::size_t>(digit[a - 1])];
        }
    }

  private:
    struct TStep {
        int Fip;
        int Action;
        int First;
        int End;
        double Prospect;
    };

    double Evaluate() {
        for (const TStep& step : Steps) {
            double x = step.Prospect;
            if (step.Action >= 0) {
                x += Levels[static_cast<std::size_t>(Level[static_cast<std::size_t>(step.Action)] +
                                                     3)];
            }
            double sum = 0;
            for (int i = step.First; i < step.End; ++i) {
                sum += Change[static_cast<std::size_t>(Source[static_cast<std::size_t>(i)])] *
                       Multiplier[static_cast<std::size_t>(i)];
            }
            Change[static_cast<std::size_t>(step.Fip)] = x + sum;
        }
        double total = 0;
        for (std::size_t g = 0; g < GoalFiP.size(); ++g) {
            const double x = Change[static_cast<std::size_t>(GoalFiP[g])];
            std::size_t k = 0;  // level + 3
            if (x >= Levels[6]) {
                k = 6;
            } else if (x >= Levels[5]) {
                k = 5;
            } else if (x >= Levels[4]) {
                k = 4;
            } else if (x > Levels[2]) {
                k = 3;
            } else if (x > Levels[1]) {
                k = 2;
            } else if (x > Levels[0]) {
                k = 1;
            }
            total += GoalUtility[g][k];
        }
        return total;
    }

    std::array<double, 7> Levels{};
    std::vector<TStep> Steps;
    std::vector<int> Source;
    std::vector<double> Multiplier;
    // One per FiP, and a last one that stays 0 for causes not yet placed.
    std::vector<double> Change;
    std::vector<int> GoalFiP;
    std::vector<std::array<double, 7>> GoalUtility;
    std::vector<std::array<std::int8_t, 7>> Feasible;
    std::vector<int> FeasibleCount;
    std::vector<std::int8_t> Level;
};

}  // namespace kavo::test
