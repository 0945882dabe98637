#include "reasoning/Comparison.h"

#include <cmath>
#include <functional>
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
#include "reasoning/TComparisonProfile.h"
#include "reasoning/TConflict.h"
#include "reasoning/TImpact.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

using TByFactor = TComparisonProfile::TByFactor;
using TRange = std::pair<const TByFactor*, const TByFactor*>;

std::unique_ptr<TConflict> NewConflict(TConflict conflict, TPerception& first,
                                       TPerception& second) {
    auto owned = std::make_unique<TConflict>(std::move(conflict));
    owned->Perception1 = &first;
    owned->Perception2 = &second;
    return owned;
}

void Note(TConflict& conflict, bool details, const std::string& name, double measure) {
    if (measure > 0) {
        if (details) {
            conflict.Details.push_back(name + "=" + FormatNumber(measure));
        }
        conflict.Total += measure;
    }
}

void InferUnlessInferred(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
}

// For every FiP of the first perception, by index, the FiPs of the second on the same factor, by
// a merge of the two lists sorted by factor.
std::vector<TRange> MatchFiPs(const TComparisonProfile& first, const TComparisonProfile& second) {
    const std::vector<TByFactor>& mine = first.FiPsByFactor;
    const std::vector<TByFactor>& theirs = second.FiPsByFactor;
    std::vector<TRange> matches(mine.size(), TRange{nullptr, nullptr});
    const std::less<const TFactor*> less;
    std::size_t i = 0;
    std::size_t k = 0;
    while (i < mine.size() && k < theirs.size()) {
        if (less(mine[i].Factor, theirs[k].Factor)) {
            ++i;
        } else if (less(theirs[k].Factor, mine[i].Factor)) {
            ++k;
        } else {
            const TFactor* factor = mine[i].Factor;
            const std::size_t begin = k;
            while (k < theirs.size() && theirs[k].Factor == factor) {
                ++k;
            }
            for (; i < mine.size() && mine[i].Factor == factor; ++i) {
                matches[static_cast<std::size_t>(mine[i].Index)] = {&theirs[begin],
                                                                    theirs.data() + k};
            }
        }
    }
    return matches;
}

}  // namespace

TConflict GoalConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                        bool details) {
    TConflict conflict(TConflictKind::ckGoals);
    for (const TGoal* mine : first.Goals) {
        const TFactor* factor = mine->FiP->Factor;
        const auto [begin, end] = TComparisonProfile::On(second.GoalsByFactor, factor);
        for (const TByFactor* theirs = begin; theirs != end; ++theirs) {
            ++conflict.Count;
            Note(conflict, details, factor->Name,
                 GoalConflict(*mine, *second.Goals[static_cast<std::size_t>(theirs->Index)]));
        }
    }
    return conflict;
}

TConflict ProspectConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                            bool details) {
    TConflict conflict(TConflictKind::ckProspects);
    const TCase& current = *first.Perception.Case();
    for (std::size_t i = 0; i < first.Prospects.size(); ++i) {
        const TFactor* factor = first.Prospects[i]->FiP->Factor;
        const auto [begin, end] = TComparisonProfile::On(second.ProspectsByFactor, factor);
        for (const TByFactor* theirs = begin; theirs != end; ++theirs) {
            ++conflict.Count;
            Note(conflict, details, factor->Name,
                 first.ProspectLevels[i].LevelDistance(
                     current, second.ProspectLevels[static_cast<std::size_t>(theirs->Index)]));
        }
    }
    return conflict;
}

// Every pair of FiPs on the same factor makes the lists of common FiPs; every ordered pair of
// entries of those lists is compared, causes in the first perception's order and, for each, the
// effects. Only the first perception's impacts with a path can count, so the walk goes over them.
TConflict InfluenceConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                             bool details) {
    TConflict conflict(TConflictKind::ckInfluences);
    conflict.Count = first.ImpactsWithPaths;
    const TCase& current = *first.Perception.Case();
    const auto& fips = first.Perception.FiPs;
    const std::size_t n = second.Perception.FiPs.size();
    const std::vector<TRange> matches = MatchFiPs(first, second);
    for (std::size_t cause = 0; cause < matches.size(); ++cause) {
        const auto [causeBegin, causeEnd] = matches[cause];
        const int from = first.InfluenceStart[cause];
        const int to = first.InfluenceStart[cause + 1];
        for (const TByFactor* theirCause = causeBegin; theirCause != causeEnd; ++theirCause) {
            const std::size_t row = static_cast<std::size_t>(theirCause->Index) * n;
            for (int k = from; k < to; ++k) {
                const TComparisonProfile::TInfluence& mine =
                    first.Influences[static_cast<std::size_t>(k)];
                const auto [effectBegin, effectEnd] = matches[static_cast<std::size_t>(mine.To)];
                for (const TByFactor* theirEffect = effectBegin; theirEffect != effectEnd;
                     ++theirEffect) {
                    const std::int32_t at =
                        second.InfluenceAt[row + static_cast<std::size_t>(theirEffect->Index)];
                    if (at < 0) {
                        continue;
                    }
                    const double measure = mine.Multiplier.JointIntensity(
                        current, second.Influences[static_cast<std::size_t>(at)].Multiplier);
                    if (measure > 0 && details) {
                        Note(conflict, true,
                             fips[cause]->Factor->Name + "<->" +
                                 fips[static_cast<std::size_t>(mine.To)]->Factor->Name,
                             measure);
                    } else {
                        Note(conflict, false, std::string(), measure);
                    }
                }
            }
        }
    }
    return conflict;
}

TConflict TacticConflicts(const TComparisonProfile& first, const TComparisonProfile& second,
                          bool details) {
    TConflict conflict(TConflictKind::ckTactics);
    const std::vector<TRange> matches = MatchFiPs(first, second);
    for (const int index : first.FreeActions) {
        const auto i = static_cast<std::size_t>(index);
        const TFiP& action = *first.Perception.FiPs[i];
        const TLevels<double>& mine = first.MeanUtility[i];
        for (const TByFactor* other = matches[i].first; other != matches[i].second; ++other) {
            const TLevels<double>& theirs =
                second.MeanUtility[static_cast<std::size_t>(other->Index)];
            ++conflict.Count;
            double r = 0;
            std::string text;
            for (int f = 0; f < action.FeasibleCount; ++f) {
                const int level = action.FeasibleLevels[static_cast<std::size_t>(f)];
                const double u1 = mine[level];
                const double u2 = theirs[level];
                if (details) {
                    text += "(" + std::to_string(level) + ":" + FormatNumber(u1) + "|" +
                            FormatNumber(u2) + ")";
                }
                if ((u1 >= 0 && u2 < 0) || (u1 < 0 && u2 >= 0)) {
                    r += std::abs(u1 - u2);
                }
            }
            if (action.FeasibleCount > 0) {
                r /= action.FeasibleCount;
            }
            if (r > 0) {
                conflict.Total += r;
                if (details) {
                    conflict.Details.push_back(action.Factor->Name + "=" + FormatProbability(r) +
                                               " -> " + text);
                }
            }
        }
    }
    return conflict;
}

std::unique_ptr<TConflict> CompareGoals(TPerception& first, TPerception& second) {
    return NewConflict(GoalConflicts(TComparisonProfile(first), TComparisonProfile(second), true),
                       first, second);
}

std::unique_ptr<TConflict> CompareProspects(TPerception& first, TPerception& second) {
    return NewConflict(
        ProspectConflicts(TComparisonProfile(first), TComparisonProfile(second), true), first,
        second);
}

std::unique_ptr<TConflict> CompareInfluences(TPerception& first, TPerception& second) {
    InferUnlessInferred(first);
    InferUnlessInferred(second);
    TComparisonProfile mine(first);
    TComparisonProfile theirs(second);
    mine.TakeInfluences();
    theirs.TakeInfluences();
    return NewConflict(InfluenceConflicts(mine, theirs, true), first, second);
}

std::unique_ptr<TConflict> CompareTactics(TPerception& first, TPerception& second) {
    for (TPerception* perception : {&first, &second}) {
        if (!perception->ResultsValid[TPerception::TacticsEvaluated]) {
            EvaluateAllTactics(*perception);
        }
    }
    TComparisonProfile mine(first);
    TComparisonProfile theirs(second);
    mine.TakeTactics();
    theirs.TakeTactics();
    return NewConflict(TacticConflicts(mine, theirs, true), first, second);
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
