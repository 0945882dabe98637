#include "reasoning/Comparison.h"

#include <cmath>
#include <string>
#include <vector>

#include "model/Formats.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/Inference.h"
#include "reasoning/TConflict.h"
#include "reasoning/TImpact.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

std::unique_ptr<TConflict> NewConflict(TConflictKind kind, TPerception& first,
                                       TPerception& second) {
    auto conflict = std::make_unique<TConflict>(kind);
    conflict->Perception1 = &first;
    conflict->Perception2 = &second;
    return conflict;
}

void Note(TConflict& conflict, const std::string& name, double measure) {
    if (measure > 0) {
        conflict.Details.push_back(name + "=" + FormatNumber(measure));
        conflict.Total += measure;
    }
}

void InferUnlessInferred(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
}

bool WithPaths(const TImpact* impact) {
    return impact != nullptr && impact->HasPaths();
}

}  // namespace

std::unique_ptr<TConflict> CompareGoals(TPerception& first, TPerception& second) {
    auto conflict = NewConflict(TConflictKind::ckGoals, first, second);
    for (const auto& mine : first.Goals) {
        for (const auto& theirs : second.Goals) {
            if (mine->FiP->Factor == theirs->FiP->Factor) {
                ++conflict->Count;
                Note(*conflict, mine->FiP->Factor->Name, GoalConflict(*mine, *theirs));
            }
        }
    }
    return conflict;
}

std::unique_ptr<TConflict> CompareProspects(TPerception& first, TPerception& second) {
    auto conflict = NewConflict(TConflictKind::ckProspects, first, second);
    const TCase& current = *first.Case();
    for (const auto& mine : first.Prospects) {
        for (const auto& theirs : second.Prospects) {
            if (mine->FiP->Factor == theirs->FiP->Factor) {
                ++conflict->Count;
                Note(*conflict, mine->FiP->Factor->Name,
                     mine->Distribution.LevelDistance(current, theirs->Distribution));
            }
        }
    }
    return conflict;
}

std::unique_ptr<TConflict> CompareInfluences(TPerception& first, TPerception& second) {
    auto conflict = NewConflict(TConflictKind::ckInfluences, first, second);
    InferUnlessInferred(first);
    InferUnlessInferred(second);
    const TCase& current = *first.Case();
    for (const auto& impact : first.Impacts) {
        conflict->Count += impact->HasPaths() ? 1 : 0;
    }
    std::vector<const TFiP*> mine;
    std::vector<const TFiP*> theirs;
    for (const auto& a : first.FiPs) {
        for (const auto& b : second.FiPs) {
            if (a->Factor == b->Factor) {
                mine.push_back(a.get());
                theirs.push_back(b.get());
            }
        }
    }
    for (std::size_t i = 0; i < mine.size(); ++i) {
        for (std::size_t j = 0; j < mine.size(); ++j) {
            const TImpact* one = ImpactBetween(first, mine[i], mine[j]);
            const TImpact* other = ImpactBetween(second, theirs[i], theirs[j]);
            if (WithPaths(one) && WithPaths(other)) {
                Note(*conflict, mine[i]->Factor->Name + "<->" + mine[j]->Factor->Name,
                     one->Multiplier.JointIntensity(current, other->Multiplier));
            }
        }
    }
    return conflict;
}

std::unique_ptr<TConflict> CompareTactics(TPerception& first, TPerception& second) {
    auto conflict = NewConflict(TConflictKind::ckTactics, first, second);
    for (TPerception* perception : {&first, &second}) {
        if (!perception->ResultsValid[TPerception::TacticsEvaluated]) {
            EvaluateAllTactics(*perception);
        }
    }
    const TCase& current = *first.Case();
    for (const auto& action : first.FiPs) {
        if (!first.IsFreeAction(action.get())) {
            continue;
        }
        for (const auto& other : second.FiPs) {
            if (other->Factor != action->Factor) {
                continue;
            }
            ++conflict->Count;
            double r = 0;
            std::string text;
            for (int f = 0; f < action->FeasibleCount; ++f) {
                const int level = action->FeasibleLevels[static_cast<std::size_t>(f)];
                const double u1 = action->LevelUtility[level].RawMean(current);
                const double u2 = other->LevelUtility[level].RawMean(current);
                text += "(" + std::to_string(level) + ":" + FormatNumber(u1) + "|" +
                        FormatNumber(u2) + ")";
                if ((u1 >= 0 && u2 < 0) || (u1 < 0 && u2 >= 0)) {
                    r += std::abs(u1 - u2);
                }
            }
            if (action->FeasibleCount > 0) {
                r /= action->FeasibleCount;
            }
            if (r > 0) {
                conflict->Total += r;
                conflict->Details.push_back(action->Factor->Name + "=" + FormatProbability(r) +
                                            " -> " + text);
            }
        }
    }
    return conflict;
}

TPreferredChange PreferredChange(TPerception& perception, const TFactor* factor) {
    TFiP* fip = perception.FindFiP(factor);
    if (fip == nullptr) {
        return {};
    }
    const TCase& current = *perception.Case();
    if (fip->Factor->IsAction) {
        // The ratings are made with the perception's uncertain items collected, and kept until the
        // perception changes.
        if (!perception.ResultsValid[TPerception::TacticsEvaluated]) {
            EvaluateAllTactics(perception);
        }
        if (fip->AffectedGoals == 0) {
            return {};
        }
        TPreferredChange best{true, 0, -1e300};
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            double score = 0;
            if (perception.Rationality <= 2) {
                score = fip->LevelUtility[level].RawMean(current);
            } else if (perception.Rationality <= 5) {
                score = fip->LevelSatisfaction[level].RawMean(current);
            } else {
                score = 1 - fip->LevelFrustration[level].RawMean(current);
            }
            if (score > best.Value) {
                best.Level = level;
                best.Value = score;
            }
        }
        return best;
    }
    if (const TGoal* goal = perception.GoalOf(fip)) {
        return {true, (goal->Level > 0) - (goal->Level < 0),
                UtilityValue(current, goal->Utilities[goal->Level])};
    }
    return {};
}

}  // namespace kavo
