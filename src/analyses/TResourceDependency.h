#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "analyses/TActorActorAnalysis.h"
#include "reasoning/TTactic.h"

namespace kavo {

class TActor;
class TFiP;
class TSearchReplay;
class TStrategy;

// "Resource Dependency": how far A's goal achievement, as A sees it, depends on the actions of the
// row actors B: which of their actions matter to A, how many of their levels help or hurt A, and
// how much utility, satisfaction and frustration B's choices can win or cost A relative to nobody
// acting.
class TResourceDependency : public TActorActorAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fRelevantActions,
        fOpportuneActions,
        fOpportunePerRange,
        fThreateningActions,
        fThreateningPerRange,
        fBaseUtility,
        fUtilityToGain,
        fUtilityToLose,
        fBaseSatisfaction,
        fSatisfactionToGain,
        fSatisfactionToLose,
        fBaseFrustration,
        fAvoidableFrustration,
        fAdditionalFrustration,
    };

    TResourceDependency(std::string title, TAnalysisFamily family);
    ~TResourceDependency() override;

    // Stops with partial sums when the analysis is cancelled.
    void Compute() override;
    std::string ValueCells() override;

    int RelevantActions = 0;
    int OpportuneActions = 0;
    int ThreateningActions = 0;
    int OpportuneTactics = 0;
    int ThreateningTactics = 0;
    int TacticCount = 0;
    // Of the last column perception.
    double BaseUtility = 0;
    double BaseSatisfaction = 0;
    double BaseFrustration = 0;
    double UtilityToGain = 0;
    double UtilityToLose = 0;
    double SatisfactionToGain = 0;
    double SatisfactionToLose = 0;
    // Minus the frustration B's actions can remove, and minus the frustration they can add.
    double FrustrationGainSum = 0;
    double FrustrationLossSum = 0;

  protected:
    void TableStarted() override;
    // Leaves every column perception as its last cell's searches left it.
    void TableFinished() override;

  private:
    // What the searches of B's actions in one column perception give, and the state of the
    // program's random generator after them.
    struct TColumnResult {
        double BaseUtility = 0;
        double BaseSatisfaction = 0;
        double BaseFrustration = 0;
        // By rationality 0 (utility), 3 (satisfaction) and 6 (frustration).
        std::array<double, 3> Best{};
        std::array<double, 3> Worst{};
        // Whether the searches seed the random generator (A has goals and a free action).
        bool Seeds = false;
        std::uint32_t RandomAfter = 0;
        // Whether they came from the column's kept scores, so that they left A's working values as
        // they happened to be; and then the levels of A's free actions the searches ended at.
        bool Replayed = false;
        std::vector<std::int8_t> Last;
    };
    // A column perception and its free actions whose tactics the searches hold at level 0: the
    // cell's searches depend on nothing else.
    using TColumnKey = std::pair<TPerception*, std::vector<TFiP*>>;

    std::vector<TActor*> RowActors() const;
    // Counts the levels of one of B's actions in A's perception that help or hurt A.
    void RateLevels(const TFiP& action);
    // Adds what A can gain and lose over the search of B's actions; false when cancelled.
    bool ComputeColumn(TPerception& a, const std::vector<TActor*>& rowActors);
    // Evaluates the base case of S and searches it under the three rationalities, stopping when
    // cancelled; the number of searches done.
    int SearchColumn(TStrategy& s, const std::vector<TFiP*>& others, TColumnResult& result);
    // The kept scores of the column perception's strategies of the tactics (all its free
    // actions, in order), made at its first cell.
    TSearchReplay& ReplayOf(TPerception& a, const std::vector<TTactic>& tactics);
    // The same as SearchColumn from the column's kept scores, the actions in held at level 0.
    int ReplayColumn(TSearchReplay& replay, const std::vector<bool>& held, TColumnResult& result);
    // Adds the gains and losses of the first searches of a column.
    void AddColumn(const TColumnResult& result, int searches);

    // While a table is written: the searches done, by column perception and held actions; for
    // each column perception the scores of the strategies its searches met, the searches its last
    // cell asked for and the last ones it ran by searching.
    bool Caching = false;
    std::map<TColumnKey, TColumnResult> Columns;
    std::map<TPerception*, std::unique_ptr<TSearchReplay>> Replays;
    std::map<TPerception*, std::vector<TFiP*>> LastAsked;
    std::map<TPerception*, std::vector<TFiP*>> LastRun;
    // The random generator's state after the last searches of the table that seeded it.
    std::optional<std::uint32_t> RandomAfterLast;
};

}  // namespace kavo
