#include "reasoning/TPropagator.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/TCombinationObserver.h"

namespace kavo {

namespace {

constexpr std::int64_t kCombinationsPerPump = 4096;

// The case's level rule for change levels that rise from -3 to +3, without branches: each level
// value reached counts one step up (down).
inline int RisingLevelOf(const TLevels<double>& levels, double x) {
    return static_cast<int>(x >= levels[1]) + static_cast<int>(x >= levels[2]) +
           static_cast<int>(x >= levels[3]) - static_cast<int>(!(x > levels[-1])) -
           static_cast<int>(!(x > levels[-2])) - static_cast<int>(!(x > levels[-3]));
}

double UtilityLevel(const TCase& current, int u) {
    return current.UtilityLevels[std::clamp(u, kMinLevel, kMaxLevel)];
}

// The arrays of megabytes (columns, laid-out values, sampled pairs) that propagators leave for
// the next ones. Allocated afresh for each propagator, they came as new pages from the system
// every time (the allocator hands arrays that large back when they are freed), and the page
// faults and first touches cost a short search more than its evaluations.
constexpr std::size_t kSpareArrays = 4;

template <typename T>
std::vector<std::vector<T>>& SpareArrays() {
    thread_local std::vector<std::vector<T>> spares;
    return spares;
}

template <typename T>
std::vector<T> TakeSpare() {
    std::vector<std::vector<T>>& spares = SpareArrays<T>();
    if (spares.empty()) {
        return {};
    }
    std::vector<T> spare = std::move(spares.back());
    spares.pop_back();
    return spare;
}

template <typename T>
void GiveBack(std::vector<T>& array) {
    std::vector<std::vector<T>>& spares = SpareArrays<T>();
    if (array.capacity() > 0 && spares.size() < kSpareArrays) {
        spares.push_back(std::move(array));
    }
}

}  // namespace

TPropagator::TPropagator(TPerception& perception, const std::vector<TTactic>& tactics,
                         const std::vector<std::uint32_t>* sample)
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
    if (Incremental) {
        Cones.resize(tactics.size());
        for (std::size_t t = 0; t < tactics.size(); ++t) {
            for (const TStep& step : Steps) {
                if ((step.Reach >> t & 1) != 0) {
                    Cones[t].push_back(step);
                }
            }
        }
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

    ProspectItem.assign(fipCount, -1);
    LinkItem.assign(perception.Links.size(), -1);
    for (std::size_t i = 0; i < Uncertain.size(); ++i) {
        const TUncertain& item = Uncertain[i];
        // Of several prospects on one FiP the last sets its value, as each combination sets them
        // in turn.
        if (item.Prospect >= 0) {
            ProspectItem[static_cast<std::size_t>(item.Prospect)] = static_cast<std::int32_t>(i);
        } else {
            LinkItem[static_cast<std::size_t>(item.Link)] = static_cast<std::int32_t>(i);
        }
    }

    std::uint64_t combinations = 1;
    for (const TUncertain& item : Uncertain) {
        const std::uint64_t count = item.Distribution->Count();
        combinations = combinations > kMaxCombinations ? combinations : combinations * count;
    }
    if (sample != nullptr) {
        SampledPairs = TakeSpare<std::uint32_t>();
        SampledPairs.assign(sample->begin(), sample->end());
    } else if (combinations > kMaxCombinations) {
        TakeSample();
    }

    for (const auto& goal : perception.Goals) {
        TGoalTable table{};
        table.Goal = goal.get();
        table.FiP = fipIndex.at(goal->FiP);
        table.InOrder = inOrder[static_cast<std::size_t>(table.FiP)];
        table.Reach = table.InOrder ? reach[static_cast<std::size_t>(table.FiP)] : 0;
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

TPropagator::~TPropagator() {
    GiveBack(Columns);
    GiveBack(ItemValues);
    GiveBack(SampledPairs);
}

void TPropagator::TakeSample() {
    const auto seed = static_cast<std::uint32_t>(Current.RandomSeed);
    std::vector<double> source;
    bool small = true;
    for (const TUncertain& item : Uncertain) {
        const std::vector<TPVPair>& pairs = item.Distribution->Pairs();
        small = small && pairs.size() <= 256;
        source.push_back(static_cast<double>(pairs.size()));
        for (const TPVPair& pair : pairs) {
            source.push_back(pair.Prob);
        }
    }
    TDrawnSample& kept = Perception.DrawnSample;
    SampledPairs = TakeSpare<std::uint32_t>();
    if (!kept.Pairs.empty() && kept.Seed == seed && kept.Source == source) {
        SampledPairs.assign(kept.Pairs.begin(), kept.Pairs.end());
        return;
    }
    TRandom draws;
    draws.Seed(seed);
    // Drawn combination after combination, stored item after item.
    const std::size_t items = Uncertain.size();
    SampledPairs.resize(kMaxCombinations * items);
    for (std::size_t c = 0; c < kMaxCombinations; ++c) {
        for (std::size_t i = 0; i < items; ++i) {
            SampledPairs[i * kMaxCombinations + c] =
                static_cast<std::uint32_t>(Uncertain[i].Distribution->SampleIndex(draws));
        }
    }
    kept.Seed = seed;
    kept.Source = std::move(source);
    kept.Pairs.clear();
    if (small) {
        kept.Pairs.assign(SampledPairs.begin(), SampledPairs.end());
    }
}

inline int TPropagator::LevelOf(double x) const {
    return RisingLevels ? RisingLevelOf(ChangeLevels, x) : Current.ChangeLevelOf(x);
}

double TPropagator::StepChange(const TStep& step) const {
    double x = ProspectValue[static_cast<std::size_t>(step.FiP)];
    if (step.Tactic >= 0) {
        x += ChangeLevels[Tactics[static_cast<std::size_t>(step.Tactic)].Level];
    }
    if (step.FirstIn == step.EndIn) {
        return x;
    }
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
            return x + sum;
        }
        case TOperator::opMul: {
            double product = 1;
            for (; input != end; ++input) {
                product *= contribution(*input);
            }
            return x * product;
        }
        case TOperator::opMin:
            x = contribution(*input);
            for (++input; input != end; ++input) {
                x = std::min(x, contribution(*input));
            }
            return x;
        case TOperator::opMax:
            x = contribution(*input);
            for (++input; input != end; ++input) {
                x = std::max(x, contribution(*input));
            }
            return x;
    }
    return x;
}

template <bool Masked>
void TPropagator::RunSteps(const std::vector<TStep>& steps, std::uint64_t changed) {
    for (const TStep& step : steps) {
        if (!Masked || (step.Reach & changed) != 0) {
            CurrentChange[static_cast<std::size_t>(step.FiP)] = StepChange(step);
        }
    }
}

void TPropagator::RunLanes(std::size_t tactic, const std::array<double, kLanes>& level) {
    constexpr std::size_t n = kLanes;
    for (const TStep& step : Cones[tactic]) {
        std::array<double, n> x;
        const double prospect = ProspectValue[static_cast<std::size_t>(step.FiP)];
        if (step.Tactic == static_cast<std::int32_t>(tactic)) {
            for (std::size_t l = 0; l < n; ++l) {
                x[l] = prospect + level[l];
            }
        } else {
            double own = prospect;
            if (step.Tactic >= 0) {
                own += ChangeLevels[Tactics[static_cast<std::size_t>(step.Tactic)].Level];
            }
            x.fill(own);
        }
        const TInput* input = Inputs.data() + step.FirstIn;
        const TInput* end = Inputs.data() + step.EndIn;
        // Each lane combines its contributions in the order and by the operations of StepChange.
        const auto lanes = [this](const TInput& in) {
            return LaneChange.data() + static_cast<std::size_t>(in.Source) * n;
        };
        const auto multiplier = [this](const TInput& in) {
            return LinkValue[static_cast<std::size_t>(in.Link)];
        };
        if (input != end) {
            switch (static_cast<TOperator>(step.Operator)) {
                case TOperator::opAdd: {
                    // Unrolled, the lanes' sums stay in registers across the inputs.
                    std::array<double, n> sum{};
                    for (; input != end; ++input) {
                        const double* source = lanes(*input);
                        const double m = multiplier(*input);
#pragma GCC unroll 8
                        for (std::size_t l = 0; l < n; ++l) {
                            sum[l] += source[l] * m;
                        }
                    }
                    for (std::size_t l = 0; l < n; ++l) {
                        x[l] += sum[l];
                    }
                    break;
                }
                case TOperator::opMul: {
                    std::array<double, n> product;
                    product.fill(1);
                    for (; input != end; ++input) {
                        const double* source = lanes(*input);
                        const double m = multiplier(*input);
#pragma GCC unroll 8
                        for (std::size_t l = 0; l < n; ++l) {
                            product[l] *= source[l] * m;
                        }
                    }
                    for (std::size_t l = 0; l < n; ++l) {
                        x[l] *= product[l];
                    }
                    break;
                }
                case TOperator::opMin:
                case TOperator::opMax: {
                    const bool least = static_cast<TOperator>(step.Operator) == TOperator::opMin;
                    const double* first = lanes(*input);
                    const double m = multiplier(*input);
                    for (std::size_t l = 0; l < n; ++l) {
                        x[l] = first[l] * m;
                    }
                    for (++input; input != end; ++input) {
                        const double* source = lanes(*input);
                        const double k = multiplier(*input);
                        for (std::size_t l = 0; l < n; ++l) {
                            const double c = source[l] * k;
                            x[l] = least ? std::min(x[l], c) : std::max(x[l], c);
                        }
                    }
                    break;
                }
            }
        }
        std::copy(x.begin(), x.end(),
                  LaneChange.begin() + step.FiP * static_cast<std::ptrdiff_t>(n));
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

void TPropagator::Update(std::uint64_t changed) {
    if (!Incremental || !Fresh) {
        RunOrder();
        for (std::size_t t = 0; t < Tactics.size(); ++t) {
            LastLevels[t] = Tactics[t].Level;
        }
        Fresh = Incremental;
        Unscored = ~std::uint64_t{0};
        return;
    }
    for (std::uint64_t bits = changed; bits != 0; bits &= bits - 1) {
        const auto t = static_cast<std::size_t>(std::countr_zero(bits));
        LastLevels[t] = Tactics[t].Level;
    }
    Unscored |= changed;
    if (changed == 0) {
        return;
    }
    if ((changed & (changed - 1)) == 0) {
        RunSteps<false>(Cones[static_cast<std::size_t>(std::countr_zero(changed))], 0);
    } else {
        RunSteps<true>(Steps, changed);
    }
}

TGoalSums TPropagator::EvaluateCertain() {
    std::uint64_t changed = 0;
    for (std::size_t t = 0; t < Tactics.size() && Incremental; ++t) {
        if (Tactics[t].Level != LastLevels[t]) {
            changed |= std::uint64_t{1} << t;
        }
    }
    Update(changed);
    return SumGoals();
}

void TPropagator::ScoreBy(int rationality, int goal) {
    ScoreRationality = rationality;
    ScoreGoal = goal;
    ScoreTable.clear();
    for (const TGoalTable& table : Goals) {
        switch (rationality) {
            case 0:
            case 1:
                ScoreTable.push_back(table.Utility);
                break;
            case 3:
            case 4:
                ScoreTable.push_back(table.Satisfaction);
                break;
            default:
                ScoreTable.push_back(table.Frustration);
                break;
        }
    }
    GoalScore.assign(Goals.size(), 0);
    Fresh = false;
    LanesFresh = false;
}

void TPropagator::ScoreGoals() {
    if (Unscored == 0) {
        return;
    }
    const bool all = Unscored == ~std::uint64_t{0};
    for (std::size_t g = 0; g < Goals.size(); ++g) {
        if (all || (Goals[g].Reach & Unscored) != 0) {
            const double x = CurrentChange[static_cast<std::size_t>(Goals[g].FiP)];
            GoalScore[g] = ScoreTable[g][static_cast<std::size_t>(LevelOf(x) + 3)];
        }
    }
    Unscored = 0;
}

double TPropagator::FinalScore(double total) const {
    const int r = ScoreRationality;
    const bool frustration = r >= 6;
    if (ScoreGoal < 0 && r >= 3 && GoalScore.size() >= 2) {
        total /= static_cast<double>(GoalScore.size());
    }
    return frustration ? -total : total;
}

namespace {

bool ScoresNothing(int rationality) {
    return rationality == 2 || rationality == 5 || rationality >= 8 || rationality < 0;
}

}  // namespace

double TPropagator::CertainScore(std::uint64_t changed) {
    LanesFresh = false;
    Update(changed);
    ScoreGoals();
    if (ScoresNothing(ScoreRationality)) {
        return 0;
    }
    if (ScoreGoal >= 0) {
        return FinalScore(GoalScore[static_cast<std::size_t>(ScoreGoal)]);
    }
    // Summed in goal order, as the evaluation sums them.
    double total = 0;
    for (const double score : GoalScore) {
        total += score;
    }
    return FinalScore(total);
}

void TPropagator::CertainScores(std::size_t tactic, const std::int8_t* levels, std::size_t count,
                                std::uint64_t changed, double* scores) {
    constexpr std::size_t n = kLanes;
    const std::uint64_t own = std::uint64_t{1} << tactic;
    const std::uint64_t others = changed & ~own;
    const bool scratch = !LanesFresh || LaneTactic != tactic;
    if (scratch) {
        // Everything from scratch; each FiP's lanes hold its change.
        Fresh = false;
        Update(0);
        const std::size_t fips = CurrentChange.size();
        LaneChange.resize(fips * n);
        for (std::size_t f = 0; f < fips; ++f) {
            std::fill_n(LaneChange.begin() + static_cast<std::ptrdiff_t>(f * n), n,
                        CurrentChange[f]);
        }
        LanesFresh = true;
        LaneTactic = tactic;
    } else if (others != 0) {
        // What the other tactics changed outside the tactic's cone, once for all lanes.
        for (const TStep& step : Steps) {
            if ((step.Reach & others) != 0 && (step.Reach & own) == 0) {
                const double x = StepChange(step);
                const auto f = static_cast<std::size_t>(step.FiP);
                CurrentChange[f] = x;
                std::fill_n(LaneChange.begin() + static_cast<std::ptrdiff_t>(f * n), n, x);
            }
        }
    }
    // CurrentChange no longer follows the tactic's levels: a later CertainScore starts afresh.
    Fresh = false;

    std::array<double, n> level;
    for (std::size_t l = 0; l < n; ++l) {
        level[l] = ChangeLevels[levels[std::min(l, count - 1)]];
    }
    RunLanes(tactic, level);
    // Summed in goal order, lane by lane, as CertainScore sums them.
    std::array<double, n> total{};
    for (std::size_t g = 0; g < Goals.size(); ++g) {
        const TGoalTable& goal = Goals[g];
        const std::array<double, 7>& table = ScoreTable[g];
        const bool counted = ScoreGoal < 0 || static_cast<std::size_t>(ScoreGoal) == g;
        // Each lane's value goes straight into its total: values stored lane by lane and read
        // back in pairs would stall the loads.
        if ((goal.Reach & own) != 0) {
            const double* change = LaneChange.data() + static_cast<std::size_t>(goal.FiP) * n;
            for (std::size_t l = 0; l < count && counted; ++l) {
                const double value = table[static_cast<std::size_t>(LevelOf(change[l]) + 3)];
                total[l] = ScoreGoal < 0 ? total[l] + value : value;
            }
            continue;
        }
        if (scratch || (goal.Reach & others) != 0) {
            const double x = CurrentChange[static_cast<std::size_t>(goal.FiP)];
            GoalScore[g] = table[static_cast<std::size_t>(LevelOf(x) + 3)];
        }
        const double value = GoalScore[g];
        for (std::size_t l = 0; l < n && counted; ++l) {
            total[l] = ScoreGoal < 0 ? total[l] + value : value;
        }
    }
    Unscored = ~std::uint64_t{0};
    for (std::size_t l = 0; l < count; ++l) {
        scores[l] = ScoresNothing(ScoreRationality) ? 0 : FinalScore(total[l]);
    }
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
        const std::vector<TPVPair>& pairs = uncertain.Distribution->Pairs();
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            const TPVPair& pair = pairs[p];
            if (Cancelled) {
                return;
            }
            PairIndex[item] = static_cast<std::uint32_t>(p);
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
    for (std::size_t c = 0; c < kMaxCombinations && !Cancelled; ++c) {
        for (std::size_t i = 0; i < items; ++i) {
            const TUncertain& uncertain = Uncertain[i];
            PairIndex[i] = SampledPairs[i * kMaxCombinations + c];
            const double value = uncertain.Distribution->Pairs()[PairIndex[i]].Value;
            if (uncertain.Prospect >= 0) {
                ProspectValue[static_cast<std::size_t>(uncertain.Prospect)] = value;
            } else {
                LinkValue[static_cast<std::size_t>(uncertain.Link)] = value;
            }
        }
        Visit(weight);
    }
}

void TPropagator::RecordOnly(const std::vector<const TGoal*>& goals) {
    LeanTotals = 0;
    LeanSteps.clear();
    LeanFiPs.clear();
    std::vector<bool> needed(CurrentChange.size(), false);
    for (const TGoalTable& table : Goals) {
        const auto fip = static_cast<std::size_t>(table.FiP);
        if (table.InOrder && !needed[fip] &&
            std::find(goals.begin(), goals.end(), table.Goal) != goals.end()) {
            needed[fip] = true;
            LeanFiPs.push_back(table.FiP);
        }
    }
    // A step reads only causes placed before it, so one backward pass finds every step that a
    // recorded change depends on.
    for (auto step = Steps.rbegin(); step != Steps.rend(); ++step) {
        if (!needed[static_cast<std::size_t>(step->FiP)]) {
            continue;
        }
        for (std::int32_t in = step->FirstIn; in < step->EndIn; ++in) {
            needed[static_cast<std::size_t>(Inputs[static_cast<std::size_t>(in)].Source)] = true;
        }
    }
    for (const TStep& step : Steps) {
        if (needed[static_cast<std::size_t>(step.FiP)]) {
            LeanSteps.push_back(step);
        }
    }
    Lean = !goals.empty();
}

void TPropagator::RecordScoreOnly(const std::vector<int>& rationalities) {
    RecordResultsOnly();
    LeanFiPs.clear();
    Lean = true;
    LeanTotals = 0;
    for (const int rationality : rationalities) {
        switch (rationality) {
            case 0:
            case 1:
                LeanTotals |= 1;
                break;
            case 3:
            case 4:
                LeanTotals |= 2;
                break;
            case 6:
            case 7:
                LeanTotals |= 4;
                break;
            default:
                break;
        }
    }
}

void TPropagator::RecordResultsOnly() {
    std::vector<const TGoal*> goals;
    for (const TGoalTable& table : Goals) {
        goals.push_back(table.Goal);
    }
    RecordOnly(goals);
    LeanTotals = 7;
}

std::uint64_t TPropagator::GoalTactics() const {
    if (Tactics.size() > 64) {
        return ~std::uint64_t{0};
    }
    std::uint64_t reach = 0;
    for (const TGoalTable& goal : Goals) {
        reach |= goal.Reach;
    }
    return reach;
}

void TPropagator::RecordTotals(std::uint8_t totals, const TGoalSums& sums, double weight) {
    if ((totals & 1) != 0) {
        UtilityDist->Add(Current, weight, sums.Utility);
    }
    if ((totals & 2) != 0) {
        SatisfactionDist->Add(Current, weight, sums.Satisfaction);
    }
    if ((totals & 4) != 0) {
        FrustrationDist->Add(Current, weight, sums.Frustration);
    }
}

void TPropagator::BuildCombinations() {
    const std::size_t items = Uncertain.size();
    std::vector<std::uint32_t> enumerated;
    if (SampledPairs.empty()) {
        std::vector<std::uint32_t> at(items, 0);
        CollectCombinations(0, 1, at, enumerated);
    }
    const bool sampled = !SampledPairs.empty();
    const std::vector<std::uint32_t>& pairs = sampled ? SampledPairs : enumerated;
    const std::size_t n = pairs.size() / items;
    if (sampled) {
        Weights.assign(n, 1.0 / static_cast<double>(kMaxCombinations));
    }
    // The sample holds each item's pairs together, the enumeration each combination's.
    const std::size_t itemStride = sampled ? n : 1;
    const std::size_t combinationStride = sampled ? 1 : items;
    if (ItemValues.capacity() == 0) {
        ItemValues = TakeSpare<double>();
    }
    ItemValues.resize(items * n);
    // Item by item, so that each column is written in one sweep.
    for (std::size_t i = 0; i < items; ++i) {
        const TPVPair* values = Uncertain[i].Distribution->Pairs().data();
        const std::uint32_t* pair = pairs.data() + i * itemStride;
        double* column = ItemValues.data() + i * n;
        for (std::size_t c = 0; c < n; ++c) {
            column[c] = values[pair[c * combinationStride]].Value;
        }
    }
    if (Columns.capacity() == 0) {
        Columns = TakeSpare<double>();
    }
    Columns.assign(CurrentChange.size() * n, 0.0);
    ColumnReady.assign(CurrentChange.size(), 0);
    ColumnLevels.resize(Tactics.size());
    for (std::size_t t = 0; t < Tactics.size(); ++t) {
        ColumnLevels[t] = Tactics[t].Level;
    }
    Scratch.resize(n);
    Totals.resize(3 * n);
}

void TPropagator::CollectCombinations(std::size_t item, double weight,
                                      std::vector<std::uint32_t>& at,
                                      std::vector<std::uint32_t>& pairs) {
    if (item < Uncertain.size()) {
        const std::vector<TPVPair>& list = Uncertain[item].Distribution->Pairs();
        for (std::size_t p = 0; p < list.size(); ++p) {
            at[item] = static_cast<std::uint32_t>(p);
            CollectCombinations(item + 1, weight * list[p].Prob, at, pairs);
        }
        return;
    }
    Weights.push_back(weight);
    pairs.insert(pairs.end(), at.begin(), at.end());
}

void TPropagator::RunColumn(const TStep& step) {
    const std::size_t n = Weights.size();
    double* x = Columns.data() + static_cast<std::size_t>(step.FiP) * n;
    const std::int32_t prospect = ProspectItem[static_cast<std::size_t>(step.FiP)];
    if (prospect >= 0) {
        std::copy_n(ItemValues.data() + static_cast<std::size_t>(prospect) * n, n, x);
    } else {
        std::fill_n(x, n, ProspectValue[static_cast<std::size_t>(step.FiP)]);
    }
    if (step.Tactic >= 0) {
        const double level = ChangeLevels[Tactics[static_cast<std::size_t>(step.Tactic)].Level];
        for (std::size_t c = 0; c < n; ++c) {
            x[c] += level;
        }
    }
    if (step.FirstIn == step.EndIn) {
        return;
    }
    const TInput* input = Inputs.data() + step.FirstIn;
    const TInput* end = Inputs.data() + step.EndIn;
    const auto source = [&](const TInput& in) {
        return Columns.data() + static_cast<std::size_t>(in.Source) * n;
    };
    // Calls f with each combination's contribution of the input: source change times multiplier.
    const auto each = [&](const TInput& in, auto f) {
        const double* from = source(in);
        const std::int32_t item = LinkItem[static_cast<std::size_t>(in.Link)];
        if (item >= 0) {
            const double* m = ItemValues.data() + static_cast<std::size_t>(item) * n;
            for (std::size_t c = 0; c < n; ++c) {
                f(c, from[c] * m[c]);
            }
        } else {
            const double m = LinkValue[static_cast<std::size_t>(in.Link)];
            for (std::size_t c = 0; c < n; ++c) {
                f(c, from[c] * m);
            }
        }
    };
    double* work = Scratch.data();
    switch (static_cast<TOperator>(step.Operator)) {
        case TOperator::opAdd:
            std::fill_n(work, n, 0.0);
            for (; input != end; ++input) {
                each(*input, [work](std::size_t c, double v) { work[c] += v; });
            }
            for (std::size_t c = 0; c < n; ++c) {
                x[c] = x[c] + work[c];
            }
            break;
        case TOperator::opMul:
            std::fill_n(work, n, 1.0);
            for (; input != end; ++input) {
                each(*input, [work](std::size_t c, double v) { work[c] *= v; });
            }
            for (std::size_t c = 0; c < n; ++c) {
                x[c] = x[c] * work[c];
            }
            break;
        case TOperator::opMin:
            each(*input, [x](std::size_t c, double v) { x[c] = v; });
            for (++input; input != end; ++input) {
                each(*input, [x](std::size_t c, double v) { x[c] = std::min(x[c], v); });
            }
            break;
        case TOperator::opMax:
            each(*input, [x](std::size_t c, double v) { x[c] = v; });
            for (++input; input != end; ++input) {
                each(*input, [x](std::size_t c, double v) { x[c] = std::max(x[c], v); });
            }
            break;
    }
}

void TPropagator::SumColumns(std::uint8_t totals) {
    const std::size_t n = Weights.size();
    if (GoalLevels.size() != Goals.size() * n) {
        GoalLevels.resize(Goals.size() * n);
        GoalLevelRuns.assign(Goals.size(), ~std::uint64_t{0});
    }
    for (std::size_t g = 0; g < Goals.size(); ++g) {
        const auto fip = static_cast<std::size_t>(Goals[g].FiP);
        if (GoalLevelRuns[g] == ColumnRuns[fip]) {
            continue;
        }
        GoalLevelRuns[g] = ColumnRuns[fip];
        const double* change = Columns.data() + fip * n;
        std::uint8_t* level = GoalLevels.data() + g * n;
        if (RisingLevels) {
            for (std::size_t c = 0; c < n; ++c) {
                level[c] = static_cast<std::uint8_t>(RisingLevelOf(ChangeLevels, change[c]) + 3);
            }
        } else {
            for (std::size_t c = 0; c < n; ++c) {
                level[c] = static_cast<std::uint8_t>(Current.ChangeLevelOf(change[c]) + 3);
            }
        }
    }
    for (std::size_t m = 0; m < 3; ++m) {
        if ((totals >> m & 1) == 0) {
            continue;
        }
        const auto table = [&](const TGoalTable& goal) {
            return m == 0 ? goal.Utility.data()
                          : (m == 1 ? goal.Satisfaction.data() : goal.Frustration.data());
        };
        // Summed goal by goal, as SumGoals sums them for one combination; a block of
        // combinations at a time, whose sums stay in registers across the goals.
        double* sums = Totals.data() + m * n;
        const bool mean = m > 0 && Goals.size() >= 2;
        const auto count = static_cast<double>(Goals.size());
        const auto block = [&]<std::size_t Width>(std::size_t first) {
            std::array<double, Width> sum{};
            const std::uint8_t* level = GoalLevels.data() + first;
            for (const TGoalTable& goal : Goals) {
                const double* values = table(goal);
#pragma GCC unroll 8
                for (std::size_t l = 0; l < Width; ++l) {
                    sum[l] += values[level[l]];
                }
                level += n;
            }
            for (std::size_t l = 0; l < Width; ++l) {
                sums[first + l] = mean ? sum[l] / count : sum[l];
            }
        };
        constexpr std::size_t kBlock = 8;
        std::size_t first = 0;
        for (; first + kBlock <= n; first += kBlock) {
            block.template operator()<kBlock>(first);
        }
        for (; first < n; ++first) {
            block.template operator()<1>(first);
        }
    }
}

void TPropagator::KeepColumns() {
    if (!Incremental) {
        std::fill(ColumnReady.begin(), ColumnReady.end(), 0);
        return;
    }
    std::uint64_t changed = 0;
    for (std::size_t t = 0; t < Tactics.size(); ++t) {
        if (Tactics[t].Level != ColumnLevels[t]) {
            changed |= std::uint64_t{1} << t;
            ColumnLevels[t] = Tactics[t].Level;
        }
    }
    for (const TStep& step : Steps) {
        if ((step.Reach & changed) != 0) {
            ColumnReady[static_cast<std::size_t>(step.FiP)] = 0;
        }
    }
}

void TPropagator::VisitColumns() {
    if (Weights.empty()) {
        BuildCombinations();
    }
    const std::size_t n = Weights.size();
    // The events run as often as when the combinations are visited one by one.
    const std::int64_t before = Combinations;
    Combinations += static_cast<std::int64_t>(n);
    if (Combinations / kCombinationsPerPump != before / kCombinationsPerPump) {
        TContext& context = Current.Context();
        context.Status.PumpEvents();
        Cancelled = context.AnalysisCancelled;
    }
    const std::vector<TStep>& steps = Lean ? LeanSteps : Steps;
    ColumnRuns.resize(CurrentChange.size());
    KeepColumns();
    for (const TStep& step : steps) {
        const auto fip = static_cast<std::size_t>(step.FiP);
        if (ColumnReady[fip] == 0) {
            RunColumn(step);
            ColumnReady[fip] = 1;
            ++ColumnRuns[fip];
        }
    }
    const auto record = [&](TProVal& distribution, const double* values) {
        distribution.AddAll(Current, Weights.data(), values, n);
    };
    const auto column = [&](std::int32_t fip) {
        return Columns.data() + static_cast<std::size_t>(fip) * n;
    };
    if (Lean) {
        for (const std::int32_t fip : LeanFiPs) {
            record(Perception.FiPs[static_cast<std::size_t>(fip)]->Change, column(fip));
        }
        if (LeanTotals != 0) {
            SumColumns(LeanTotals);
        }
        const std::array<TProVal*, 3> targets{UtilityDist, SatisfactionDist, FrustrationDist};
        for (std::size_t m = 0; m < 3; ++m) {
            if ((LeanTotals >> m & 1) != 0) {
                record(*targets[m], Totals.data() + m * n);
            }
        }
    } else {
        for (const TStep& step : Steps) {
            record(Perception.FiPs[static_cast<std::size_t>(step.FiP)]->Change, column(step.FiP));
        }
        // The change that feedback brings in the next round, weighted like each combination.
        for (std::size_t c = 0; c < n; ++c) {
            for (const TDelayed& link : Delayed) {
                const std::int32_t item = LinkItem[static_cast<std::size_t>(link.Link)];
                const double m = item >= 0 ? ItemValues[static_cast<std::size_t>(item) * n + c]
                                           : LinkValue[static_cast<std::size_t>(link.Link)];
                PendingChange[static_cast<std::size_t>(link.Target)] +=
                    Weights[c] * column(link.Source)[c] * m;
            }
        }
        SumColumns(7);
        record(*UtilityDist, Totals.data());
        record(*SatisfactionDist, Totals.data() + n);
        record(*FrustrationDist, Totals.data() + 2 * n);
    }
    // The working values are left as the last combination leaves them.
    for (const TStep& step : steps) {
        CurrentChange[static_cast<std::size_t>(step.FiP)] = column(step.FiP)[n - 1];
    }
    for (std::size_t i = 0; i < Uncertain.size(); ++i) {
        const double value = ItemValues[i * n + n - 1];
        if (Uncertain[i].Prospect >= 0) {
            ProspectValue[static_cast<std::size_t>(Uncertain[i].Prospect)] = value;
        } else {
            LinkValue[static_cast<std::size_t>(Uncertain[i].Link)] = value;
        }
    }
}

void TPropagator::Visit(double weight) {
    // The combinations multiply with every uncertain item: let the user's events run now and then.
    if (++Combinations % kCombinationsPerPump == 0) {
        TContext& context = Current.Context();
        context.Status.PumpEvents();
        Cancelled = context.AnalysisCancelled;
    }
    if (Lean && Observer == nullptr) {
        RunSteps<false>(LeanSteps, 0);
        for (const std::int32_t fip : LeanFiPs) {
            Perception.FiPs[static_cast<std::size_t>(fip)]->Change.Add(
                Current, weight, CurrentChange[static_cast<std::size_t>(fip)]);
        }
        if (LeanTotals != 0) {
            RecordTotals(LeanTotals, SumGoals(), weight);
        }
        return;
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
    if (Observer != nullptr) {
        Observer->Combination(weight, sums, PairIndex);
    }
    RecordTotals(7, sums, weight);
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
    LanesFresh = false;
    PairIndex.assign(Uncertain.size(), 0);
    if (Observer != nullptr) {
        std::vector<const TProVal*> items;
        for (const TUncertain& item : Uncertain) {
            items.push_back(item.Distribution);
        }
        Observer->EvaluationStarts(items);
    }
    if (!Uncertain.empty() && Observer == nullptr) {
        VisitColumns();
    } else if (SampledPairs.empty()) {
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
