#include "reasoning/TPropagator.h"

#include <algorithm>
#include <unordered_map>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo {

namespace {

constexpr std::int64_t kCombinationsPerPump = 4096;

double UtilityLevel(const TCase& current, int u) {
    return current.UtilityLevels[std::clamp(u, kMinLevel, kMaxLevel)];
}

}  // namespace

TPropagator::TPropagator(TPerception& perception, const std::vector<TTactic>& tactics)
    : Current(*perception.Case()),
      Perception(perception),
      Tactics(tactics),
      ChangeLevels(Current.ChangeLevels) {
    const std::size_t fipCount = perception.FiPs.size();
    std::unordered_map<const TFiP*, std::int32_t> fipIndex;
    for (std::size_t i = 0; i < fipCount; ++i) {
        fipIndex.emplace(perception.FiPs[i].get(), static_cast<std::int32_t>(i));
    }
    std::unordered_map<const TLink*, std::int32_t> linkIndex;
    for (std::size_t i = 0; i < perception.Links.size(); ++i) {
        linkIndex.emplace(perception.Links[i].get(), static_cast<std::int32_t>(i));
    }
    RisingLevels = ChangeLevels[-3] <= ChangeLevels[-2] && ChangeLevels[-2] <= ChangeLevels[-1] &&
                   ChangeLevels[-1] < ChangeLevels[1] && ChangeLevels[1] <= ChangeLevels[2] &&
                   ChangeLevels[2] <= ChangeLevels[3];
    ProspectValue.assign(fipCount, 0);
    CurrentChange.assign(fipCount, 0);
    PendingChange.assign(fipCount, 0);
    LinkValue.assign(perception.Links.size(), 0);

    // A cause not yet placed when its effect is computed contributes the change it has when the
    // combination starts, 0: its input reads a slot past the FiPs that always holds 0, so the
    // changes need no reset between combinations.
    const auto zeroSlot = static_cast<std::int32_t>(fipCount);
    CurrentChange.push_back(0);
    std::vector<bool> inOrder(fipCount, false);
    std::vector<std::uint64_t> reach(fipCount + 1, 0);
    Incremental = tactics.size() <= 64;
    LastLevels.assign(tactics.size(), 0);
    for (const TFiP* fip : perception.Order) {
        const std::int32_t index = fipIndex.at(fip);
        inOrder[static_cast<std::size_t>(index)] = true;
        TStep step{0,  index,
                   -1, static_cast<std::int32_t>(Inputs.size()),
                   0,  static_cast<std::uint8_t>(fip->Operator)};
        if (fip->Factor->IsAction) {
            for (std::size_t t = 0; t < tactics.size(); ++t) {
                if (tactics[t].FiP == fip) {
                    step.Tactic = static_cast<std::int32_t>(t);
                    step.Reach = t < 64 ? std::uint64_t{1} << t : 0;
                    break;
                }
            }
        }
        for (const TLink* link : fip->InLinks) {
            const std::int32_t source = fipIndex.at(link->FromFiP);
            const bool placed = inOrder[static_cast<std::size_t>(source)] && link->FromFiP != fip;
            Inputs.push_back({placed ? source : zeroSlot, linkIndex.at(link)});
            step.Reach |= placed ? reach[static_cast<std::size_t>(source)] : 0;
        }
        reach[static_cast<std::size_t>(index)] = step.Reach;
        step.EndIn = static_cast<std::int32_t>(Inputs.size());
        Steps.push_back(step);
    }
    for (const TLink* link : perception.DelayedLinks) {
        Delayed.push_back(
            {fipIndex.at(link->FromFiP), fipIndex.at(link->ToFiP), linkIndex.at(link)});
    }

    // Items with more than one pair vary from combination to combination; the others are fixed.
    for (const auto& prospect : perception.Prospects) {
        const std::int32_t index = fipIndex.at(prospect->FiP);
        if (prospect->Distribution.Count() == 1) {
            ProspectValue[static_cast<std::size_t>(index)] = prospect->Distribution[0].Value;
        } else if (prospect->Distribution.Count() > 1) {
            Uncertain.push_back({&prospect->Distribution, index, -1});
        }
    }
    for (std::size_t i = 0; i < perception.Links.size(); ++i) {
        const TProVal& distribution = perception.Links[i]->Distribution;
        if (distribution.Count() == 1) {
            LinkValue[i] = distribution[0].Value;
        } else if (distribution.Count() > 1) {
            Uncertain.push_back({&distribution, -1, static_cast<std::int32_t>(i)});
        }
    }

    std::uint64_t combinations = 1;
    for (const TUncertain& item : Uncertain) {
        const std::uint64_t count = item.Distribution->Count();
        combinations = combinations > kMaxCombinations ? combinations : combinations * count;
    }
    if (combinations > kMaxCombinations) {
        TRandom draws;
        draws.Seed(static_cast<std::uint32_t>(Current.RandomSeed));
        SampledPairs.reserve(kMaxCombinations * Uncertain.size());
        for (std::uint64_t c = 0; c < kMaxCombinations; ++c) {
            for (const TUncertain& item : Uncertain) {
                SampledPairs.push_back(
                    static_cast<std::uint32_t>(item.Distribution->SampleIndex(draws)));
            }
        }
    }

    for (const auto& goal : perception.Goals) {
        TGoalTable table{};
        table.Goal = goal.get();
        table.FiP = fipIndex.at(goal->FiP);
        table.InOrder = inOrder[static_cast<std::size_t>(table.FiP)];
        const int high = goal->HighUtility;
        const int low = goal->LowUtility;
        const double best = UtilityLevel(Current, high);
        const double worst = UtilityLevel(Current, low);
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            const int u = goal->Utilities[level];
            const auto k = static_cast<std::size_t>(level + 3);
            table.Utility[k] = UtilityValue(Current, u);
            if (high == 0 && u == 0) {
                table.Satisfaction[k] = 1;
            } else if (high > 0 && u > 0 && best != 0) {
                table.Satisfaction[k] = UtilityLevel(Current, u) / best;
            }
            if (low < 0 && u < 0 && worst != 0) {
                table.Frustration[k] = UtilityLevel(Current, u) / worst;
            }
        }
        Goals.push_back(table);
    }
}

int TPropagator::LevelOf(double x) const {
    if (!RisingLevels) {
        return Current.ChangeLevelOf(x);
    }
    // The case's rule without branches: each level value reached counts one step up (down).
    const TLevels<double>& levels = ChangeLevels;
    return static_cast<int>(x >= levels[1]) + static_cast<int>(x >= levels[2]) +
           static_cast<int>(x >= levels[3]) - static_cast<int>(!(x > levels[-1])) -
           static_cast<int>(!(x > levels[-2])) - static_cast<int>(!(x > levels[-3]));
}

template <bool Masked>
void TPropagator::RunSteps(std::uint64_t changed) {
    for (const TStep& step : Steps) {
        if (Masked && (step.Reach & changed) == 0) {
            continue;
        }
        const auto fip = static_cast<std::size_t>(step.FiP);
        double x = ProspectValue[fip];
        if (step.Tactic >= 0) {
            x += ChangeLevels[Tactics[static_cast<std::size_t>(step.Tactic)].Level];
        }
        if (step.FirstIn < step.EndIn) {
            const TInput* input = &Inputs[static_cast<std::size_t>(step.FirstIn)];
            const TInput* end = &Inputs[0] + step.EndIn;
            const auto contribution = [this](const TInput& in) {
                return CurrentChange[static_cast<std::size_t>(in.Source)] *
                       LinkValue[static_cast<std::size_t>(in.Link)];
            };
            switch (static_cast<TOperator>(step.Operator)) {
                case TOperator::opAdd: {
                    double sum = 0;
                    for (; input != end; ++input) {
                        sum += contribution(*input);
                    }
                    x += sum;
                    break;
                }
                case TOperator::opMul: {
                    double product = 1;
                    for (; input != end; ++input) {
                        product *= contribution(*input);
                    }
                    x *= product;
                    break;
                }
                case TOperator::opMin:
                    x = contribution(*input);
                    for (++input; input != end; ++input) {
                        x = std::min(x, contribution(*input));
                    }
                    break;
                case TOperator::opMax:
                    x = contribution(*input);
                    for (++input; input != end; ++input) {
                        x = std::max(x, contribution(*input));
                    }
                    break;
            }
        }
        CurrentChange[fip] = x;
    }
}

TGoalSums TPropagator::SumGoals() const {
    TGoalSums sums;
    for (const TGoalTable& goal : Goals) {
        const auto k = static_cast<std::size_t>(
            LevelOf(CurrentChange[static_cast<std::size_t>(goal.FiP)]) + 3);
        sums.Utility += goal.Utility[k];
        sums.Satisfaction += goal.Satisfaction[k];
        sums.Frustration += goal.Frustration[k];
    }
    if (Goals.size() >= 2) {
        sums.Satisfaction /= static_cast<double>(Goals.size());
        sums.Frustration /= static_cast<double>(Goals.size());
    }
    return sums;
}

TGoalSums TPropagator::EvaluateCertain() {
    if (!Incremental || !Fresh) {
        RunOrder();
        for (std::size_t t = 0; t < Tactics.size(); ++t) {
            LastLevels[t] = Tactics[t].Level;
        }
        Fresh = Incremental;
        return SumGoals();
    }
    std::uint64_t changed = 0;
    for (std::size_t t = 0; t < Tactics.size(); ++t) {
        if (Tactics[t].Level != LastLevels[t]) {
            changed |= std::uint64_t{1} << t;
            LastLevels[t] = Tactics[t].Level;
        }
    }
    if (changed != 0) {
        RunSteps<true>(changed);
    }
    return SumGoals();
}

int TPropagator::GoalIndex(const TGoal* goal) const {
    for (std::size_t g = 0; g < Goals.size(); ++g) {
        if (Goals[g].Goal == goal) {
            return static_cast<int>(g);
        }
    }
    return -1;
}

double TPropagator::CertainGoalScore(int goal, int rationality) const {
    const TGoalTable& table = Goals[static_cast<std::size_t>(goal)];
    const auto k =
        static_cast<std::size_t>(LevelOf(CurrentChange[static_cast<std::size_t>(table.FiP)]) + 3);
    switch (rationality) {
        case 0:
        case 1:
            return table.Utility[k];
        case 3:
        case 4:
            return table.Satisfaction[k];
        case 6:
        case 7:
            return -table.Frustration[k];
        default:
            return 0;
    }
}

void TPropagator::Combine(std::size_t item, double weight) {
    if (item < Uncertain.size()) {
        const TUncertain& uncertain = Uncertain[item];
        for (const TPVPair& pair : uncertain.Distribution->Pairs()) {
            if (Cancelled) {
                return;
            }
            if (uncertain.Prospect >= 0) {
                ProspectValue[static_cast<std::size_t>(uncertain.Prospect)] = pair.Value;
            } else {
                LinkValue[static_cast<std::size_t>(uncertain.Link)] = pair.Value;
            }
            Combine(item + 1, weight * pair.Prob);
        }
        return;
    }
    Visit(weight);
}

void TPropagator::CombineSample() {
    const double weight = 1.0 / static_cast<double>(kMaxCombinations);
    const std::size_t items = Uncertain.size();
    for (std::size_t first = 0; first < SampledPairs.size() && !Cancelled; first += items) {
        for (std::size_t i = 0; i < items; ++i) {
            const TUncertain& uncertain = Uncertain[i];
            const double value = uncertain.Distribution->Pairs()[SampledPairs[first + i]].Value;
            if (uncertain.Prospect >= 0) {
                ProspectValue[static_cast<std::size_t>(uncertain.Prospect)] = value;
            } else {
                LinkValue[static_cast<std::size_t>(uncertain.Link)] = value;
            }
        }
        Visit(weight);
    }
}

void TPropagator::Visit(double weight) {
    // The combinations multiply with every uncertain item: let the user's events run now and then.
    if (++Combinations % kCombinationsPerPump == 0) {
        TContext& context = Current.Context();
        context.Status.PumpEvents();
        Cancelled = context.AnalysisCancelled;
    }
    RunOrder();
    for (const TStep& step : Steps) {
        Perception.FiPs[static_cast<std::size_t>(step.FiP)]->Change.Add(
            Current, weight, CurrentChange[static_cast<std::size_t>(step.FiP)]);
    }
    // The change that feedback brings in the next round, weighted like the combination.
    for (const TDelayed& link : Delayed) {
        PendingChange[static_cast<std::size_t>(link.Target)] +=
            weight * CurrentChange[static_cast<std::size_t>(link.Source)] *
            LinkValue[static_cast<std::size_t>(link.Link)];
    }
    const TGoalSums sums = SumGoals();
    UtilityDist->Add(Current, weight, sums.Utility);
    SatisfactionDist->Add(Current, weight, sums.Satisfaction);
    FrustrationDist->Add(Current, weight, sums.Frustration);
}

void TPropagator::Evaluate(TProVal& utility, TProVal& satisfaction, TProVal& frustration,
                           std::vector<TOutcome>& outcomes) {
    for (TProVal* distribution : {&utility, &satisfaction, &frustration}) {
        distribution->Clear();
        distribution->Cumulation = 1;
    }
    utility.Kind = TProValKind::pvUtility;
    satisfaction.Kind = TProValKind::pvSatisfaction;
    frustration.Kind = TProValKind::pvFrustration;
    for (const auto& fip : Perception.FiPs) {
        fip->Change.Clear();
    }
    std::fill(PendingChange.begin(), PendingChange.end(), 0.0);
    UtilityDist = &utility;
    SatisfactionDist = &satisfaction;
    FrustrationDist = &frustration;
    Combinations = 0;
    Cancelled = false;
    Fresh = false;
    if (SampledPairs.empty()) {
        Combine(0, 1);
    } else {
        CombineSample();
    }
    UtilityDist = SatisfactionDist = FrustrationDist = nullptr;

    for (std::size_t i = 0; i < Perception.FiPs.size(); ++i) {
        TFiP& fip = *Perception.FiPs[i];
        fip.Change.Cumulation = fip.Change.Empty() ? 0 : 1;
        fip.CurrentChange = CurrentChange[i];
        fip.ProspectValue = ProspectValue[i];
        fip.PendingChange = PendingChange[i];
    }
    outcomes.resize(Goals.size());
    for (std::size_t g = 0; g < Goals.size(); ++g) {
        outcomes[g].Goal = Goals[g].Goal;
        TProVal& change = outcomes[g].Change;
        // A goal whose factor the propagation never reaches sees no change at all.
        if (Goals[g].InOrder) {
            change = Perception.FiPs[static_cast<std::size_t>(Goals[g].FiP)]->Change;
        } else {
            change.Kind = TProValKind::pvChange;
            change.SetZero();
        }
    }
}

}  // namespace kavo
