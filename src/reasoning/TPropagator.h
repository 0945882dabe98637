#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/TLevels.h"
#include "reasoning/Inference.h"
#include "reasoning/TOutcome.h"
#include "reasoning/TProVal.h"
#include "reasoning/TTactic.h"

namespace kavo {

class TCase;
class TCombinationObserver;
class TFiP;
class TGoal;
class TPerception;

// Goal totals of one evaluation: utility summed over the goals, satisfaction and frustration
// averaged over them when there are two or more.
struct TGoalSums {
    double Utility = 0;
    double Satisfaction = 0;
    double Frustration = 0;
};

// The propagation of a strategy's tactics through one perception, compiled into flat arrays once
// so that evaluating a strategy touches no model object and, for a perception without uncertain
// items, allocates nothing. Changes flow along the perception's Order; each FiP combines its
// incoming contributions by its operator; a cause later in the order (or outside it) contributes
// the change it had when the combination started, that is 0. The compiled form is valid while the
// perception, its Order and the tactics vector stay as they were.
class TPropagator {
  public:
    // Sample, when given, is the Sample() of another propagator of the same perception, unchanged
    // since: it is taken over instead of being drawn again (it would be drawn the same).
    TPropagator(TPerception& perception, const std::vector<TTactic>& tactics,
                const std::vector<std::uint32_t>* sample = nullptr);
    ~TPropagator();

    // No prospect or link with more than one pair: one combination of weight 1.
    bool IsCertain() const { return Uncertain.empty(); }
    // Certain perceptions: the goal totals of the tactics' current levels. Reads the levels at each
    // call and recomputes only the factors that a tactic changed since the last call reaches;
    // writes nothing but its own arrays.
    TGoalSums EvaluateCertain();
    // The score of a goal under a rationality 0..8 after EvaluateCertain, as ScoreForGoal computes
    // it from the goal's certain outcome.
    double CertainGoalScore(int goal, int rationality) const;
    // Quick scores for a search of a certain perception: from now on CertainScore gives the score
    // under the rationality 0..8 or, when goal >= 0, that goal's score alone, as TStrategy's Score
    // and ScoreForGoal compute them from a certain evaluation.
    void ScoreBy(int rationality, int goal = -1);
    // The score of the tactics' current levels. Changed has a bit for each tactic whose level
    // changed since the last call; only the factors and goals those tactics reach are computed
    // again (everything after ScoreBy or a full Evaluate). Certain perceptions only.
    double CertainScore(std::uint64_t changed);
    // The scores of up to kLanes strategies at once, which differ only in the level of one tactic
    // (the first 64 only): scores[i] with that tactic at levels[i], the others at their current
    // levels, for each of the count levels. Changed has a bit for each other tactic whose level
    // changed since the last call. Each strategy's score is computed step by step exactly as
    // CertainScore computes it, but every step runs once for all of them. Certain perceptions only.
    static constexpr std::size_t kLanes = 8;
    void CertainScores(std::size_t tactic, const std::int8_t* levels, std::size_t count,
                       std::uint64_t changed, double* scores);
    // Whether CertainScores can vary the tactic.
    bool CanScoreLanes(std::size_t tactic) const { return Incremental && tactic < 64; }
    // Every combination of uncertain values, weighted by its probability: fills the three
    // distributions (cleared first) and one outcome per goal, and leaves every FiP's Change,
    // CurrentChange, ProspectValue and PendingChange as the evaluation found them. The number of
    // combinations is the product of the items' pair counts; beyond kMaxCombinations the
    // evaluation runs on the propagator's fixed sample instead. It lets events run and stops,
    // incomplete, when the user cancels.
    void Evaluate(TProVal& utility, TProVal& satisfaction, TProVal& frustration,
                  std::vector<TOutcome>& outcomes);
    // kMaxCombinations when Evaluate estimates on a sample, 0 when it visits every combination.
    // The sample is drawn once per perception: kMaxCombinations combinations, each drawing every
    // uncertain item in turn (prospects, then links) with a generator of its own seeded with the
    // case's RandomSeed, so the program's random sequence stays untouched. The perception keeps it
    // for its later propagators while its items' probabilities and the seed stay as they were.
    std::uint64_t SampledCombinations() const {
        return SampledPairs.empty() ? 0 : kMaxCombinations;
    }
    // The sampled combinations, for another propagator of the same perception.
    const std::vector<std::uint32_t>& Sample() const { return SampledPairs; }

    // From now on Evaluate computes only what the changes of the given goals' FiPs depend on and
    // records only those changes: the three distributions stay empty, the other FiPs' Change is
    // left empty and their working values as they happen to be, no feedback is gathered. Each
    // recorded change is the one a full evaluation gives. An empty list, or an observer, brings
    // back the full evaluation.
    void RecordOnly(const std::vector<const TGoal*>& goals);
    // From now on Evaluate records no FiP's change and fills only the distribution that a
    // strategy's Score reads under the rationality 0..8 (none for those that score nothing); that
    // distribution is the one a full evaluation gives. RecordOnly brings back the other modes.
    void RecordScoreOnly(int rationality) { RecordScoreOnly(std::vector<int>{rationality}); }
    // The same for the scores under each of the rationalities.
    void RecordScoreOnly(const std::vector<int>& rationalities);
    // From now on Evaluate records only what a strategy's results hold: the changes of the goals'
    // FiPs and the three distributions, each as a full evaluation gives it. RecordOnly brings back
    // the other modes.
    void RecordResultsOnly();
    // The tactics that reach a goal's FiP, one bit each; every bit when there are more than 64
    // tactics. The others change no distribution and no outcome of an evaluation.
    std::uint64_t GoalTactics() const;

    // Index of the goal among the perception's goals, or -1.
    int GoalIndex(const TGoal* goal) const;

    // Sees every combination Evaluate visits, when set; not owned.
    TCombinationObserver* Observer = nullptr;

  private:
    struct TStep {
        // The tactics whose action reaches this FiP, one bit each.
        std::uint64_t Reach;
        std::int32_t FiP;
        std::int32_t Tactic;  // -1 for none
        std::int32_t FirstIn;
        std::int32_t EndIn;
        std::uint8_t Operator;
    };
    struct TInput {
        std::int32_t Source;
        std::int32_t Link;
    };
    struct TGoalTable {
        TGoal* Goal;
        // The tactics that reach the goal's FiP, one bit each.
        std::uint64_t Reach;
        std::int32_t FiP;
        bool InOrder;
        std::array<double, 7> Utility;
        std::array<double, 7> Satisfaction;
        std::array<double, 7> Frustration;
    };
    struct TUncertain {
        const TProVal* Distribution;
        std::int32_t Prospect;  // FiP index of a prospect, or -1
        std::int32_t Link;      // link index, or -1
    };
    struct TDelayed {
        std::int32_t Source;
        std::int32_t Target;
        std::int32_t Link;
    };

    // Draws the fixed sample of uncertain values, or takes over the one the perception keeps when
    // it was drawn from the same probabilities and seed, and keeps it with the perception.
    void TakeSample();
    int LevelOf(double change) const;
    // The steps in order, or (Masked) only those that a changed tactic reaches.
    template <bool Masked>
    void RunSteps(const std::vector<TStep>& steps, std::uint64_t changed);
    void RunOrder() { RunSteps<false>(Steps, 0); }
    // Brings the changes up to the tactics' levels after the tactics in changed changed; a full run
    // when the last one was not incremental.
    void Update(std::uint64_t changed);
    double StepChange(const TStep& step) const;
    // The cone of the tactic for each lane's level of it; the other FiPs' lanes hold their change.
    void RunLanes(std::size_t tactic, const std::array<double, kLanes>& level);
    // Brings the goals' current values up to date for the tactics changed since they last were.
    void ScoreGoals();
    double FinalScore(double total) const;
    TGoalSums SumGoals() const;
    void Combine(std::size_t item, double weight);
    void CombineSample();
    // One combination, whose uncertain values are set.
    void Visit(double weight);
    // The combinations of uncertain values, in the order Combine or CombineSample visits them.
    void BuildCombinations();
    // Appends the combinations from the item on, each item taking each of its pairs in turn (the
    // items before it at the pairs in at), with their weights and pairs.
    void CollectCombinations(std::size_t item, double weight, std::vector<std::uint32_t>& at,
                             std::vector<std::uint32_t>& pairs);
    // Every combination at once, column by column: each step computes its FiP's change in every
    // combination by the operations StepChange applies to one, and each distribution receives its
    // values in the order of the combinations, so the results are those of visiting them in turn.
    void VisitColumns();
    void RunColumn(const TStep& step);
    // Marks the columns that a tactic whose level changed since the last evaluation reaches as
    // to be computed again; the others hold what the tactics' levels give.
    void KeepColumns();
    // The totals of each combination, of those in the mask (1 utility, 2 satisfaction, 4
    // frustration).
    void SumColumns(std::uint8_t totals);
    // Adds the totals in the mask (as for SumColumns) to their distributions.
    void RecordTotals(std::uint8_t totals, const TGoalSums& sums, double weight);

    const TCase& Current;
    TPerception& Perception;
    const std::vector<TTactic>& Tactics;
    TLevels<double> ChangeLevels;
    // Change levels that rise from -3 to +3, as any sensible options have them.
    bool RisingLevels = true;
    std::vector<TStep> Steps;
    // Per tactic (while incremental) the steps it reaches, in order.
    std::vector<std::vector<TStep>> Cones;
    std::vector<TInput> Inputs;
    std::vector<TGoalTable> Goals;
    std::vector<TUncertain> Uncertain;
    // The sampled combinations: item after item, the index of the item's pair in each combination;
    // empty when every combination is visited.
    std::vector<std::uint32_t> SampledPairs;
    std::vector<TDelayed> Delayed;
    // RecordOnly: the steps the recorded FiPs depend on, in order, and the recorded FiPs.
    bool Lean = false;
    // While lean, the distributions filled (mask as for SumColumns).
    std::uint8_t LeanTotals = 0;
    std::vector<TStep> LeanSteps;
    std::vector<std::int32_t> LeanFiPs;
    // For the observer: each uncertain item's pair in the combination at hand.
    std::vector<std::uint32_t> PairIndex;
    std::vector<double> ProspectValue;
    // One per FiP, and a last one that stays 0.
    std::vector<double> CurrentChange;
    std::vector<double> LinkValue;
    std::vector<double> PendingChange;
    // EvaluateCertain recomputes only what the tactics changed since its last call reach, while
    // no full evaluation came between and there are at most 64 tactics.
    bool Incremental = true;
    bool Fresh = false;
    std::vector<std::int8_t> LastLevels;
    // The quick score: per goal its measure at each level and its current value; the tactics
    // changed since those values were brought up to date (all bits: every goal).
    int ScoreRationality = 0;
    int ScoreGoal = -1;
    std::vector<std::array<double, 7>> ScoreTable;
    std::vector<double> GoalScore;
    std::uint64_t Unscored = ~std::uint64_t{0};
    // CertainScores: each FiP's change in each lane (kLanes per FiP, and the zero slot's), and the
    // goals' values in each lane; valid while LanesFresh.
    std::vector<double> LaneChange;
    std::vector<double> LaneScore;
    bool LanesFresh = false;
    std::size_t LaneTactic = 0;
    // The combinations of an evaluation of an uncertain perception, made at its first evaluation
    // (none for a certain one): their weights, each uncertain item's value in each (a column of
    // them per item), which item sets each FiP's prospect and each link's value (-1 for none), and
    // per FiP (and the zero slot) a column of its change in each combination.
    std::vector<double> Weights;
    std::vector<double> ItemValues;
    std::vector<std::int32_t> ProspectItem;
    std::vector<std::int32_t> LinkItem;
    std::vector<double> Columns;
    // Per FiP, whether its column holds its changes under the tactics' levels in ColumnLevels
    // (while incremental; otherwise each evaluation computes every column again).
    std::vector<std::uint8_t> ColumnReady;
    std::vector<std::int8_t> ColumnLevels;
    // Per FiP how often its column was computed; per goal the level (+3) of its change in each
    // combination, and the count of its FiP's column that it was found from: a goal whose column
    // was kept keeps its levels.
    std::vector<std::uint64_t> ColumnRuns;
    std::vector<std::uint8_t> GoalLevels;
    std::vector<std::uint64_t> GoalLevelRuns;
    // Per combination: a working sum, and the utility, satisfaction and frustration totals.
    std::vector<double> Scratch;
    std::vector<double> Totals;
    std::int64_t Combinations = 0;
    bool Cancelled = false;
    // Working targets of Evaluate.
    TProVal* UtilityDist = nullptr;
    TProVal* SatisfactionDist = nullptr;
    TProVal* FrustrationDist = nullptr;
};

}  // namespace kavo
