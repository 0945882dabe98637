#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>

#include "analyses/TActorActorAnalysis.h"

namespace kavo {

class TFiP;
class TSearchReplay;
class TStrategy;

// "Support and Opposition": the utility, satisfaction and frustration that A expects from each of
// B's ideal strategies, A's other actions left at their least action or, with "Let A optimize",
// chosen by A. Uses the first perception of the row and of the column.
class TSupportAnalysis : public TActorActorAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fUtility,
        fSatisfaction,
        fFrustration,
        fFullStrategySet,
        fLetAOptimize,
        fAdaptation,
    };
    static constexpr int kMaxStrategies = 100;

    TSupportAnalysis(std::string title, TAnalysisFamily family);
    ~TSupportAnalysis() override;

    void Compute() override;
    // Without an ideal strategy of B (B has no free action) the value cells are dashes.
    std::string ValueCells() override;

    // The number of B's ideal strategies rated, 0..kMaxStrategies.
    int StrategyCount = 0;
    // What A expects of B's k-th ideal strategy at index k - 1.
    std::array<double, kMaxStrategies> SupportUtility{};
    std::array<double, kMaxStrategies> SupportSatisfaction{};
    std::array<double, kMaxStrategies> SupportFrustration{};
    // A's strategies adapted to B's ideal strategies, kept with "A's adaptation", in their order.
    std::vector<std::unique_ptr<TStrategy>> Adaptations;
    // A's actions whose levels B's strategy sets; not owned.
    std::vector<TFiP*> FixedActions;

  protected:
    void TableStarted() override;
    // Leaves every column perception as its last cell's evaluations left it.
    void TableFinished() override;

  private:
    // What rating one strategy of A gave, and the state of the program's random generator after
    // it.
    struct TRating {
        double Utility = 0;
        double Satisfaction = 0;
        double Frustration = 0;
        // T as the rating left it, kept when the adaptations are shown.
        std::unique_ptr<TStrategy> Rated;
        // Whether rating seeded the random generator (a search with goals and tactics).
        bool Seeds = false;
        std::uint32_t RandomAfter = 0;
        // Whether it came from the column's kept scores and results rather than from rating T,
        // so that it left A's working values as they happened to be; and then, when A optimized,
        // the levels A's search ended at.
        bool Replayed = false;
        std::vector<std::int8_t> Last;
    };
    // A column perception, whether A optimizes, the actions held (when it does) and the levels of
    // T's tactics: a rating depends on nothing else.
    using TRatingKey = std::tuple<TPerception*, bool, std::vector<TFiP*>, std::vector<std::int8_t>>;

    // What the ratings of one column perception share while a table is written: the sample of
    // combinations of uncertain values its evaluations draw, the tactics of its default
    // strategy that reach a goal (a bit each; the others change no result of an evaluation), and
    // the scores and results of the strategies its ratings met.
    struct TColumn {
        std::vector<std::uint32_t> Sample;
        std::uint64_t GoalReach = 0;
        std::unique_ptr<TSearchReplay> Replay;
    };

    // The outcome of B's k-th ideal strategy for A: T itself, or the best A found around it.
    // Sample, when given, is the sample of combinations that T's evaluation draws.
    static const TStrategy& Rate(TStrategy& t, bool optimize, const std::vector<TFiP*>& fixed,
                                 const std::vector<std::uint32_t>* sample = nullptr);
    TColumn& ColumnOf(TPerception& a);
    // Rates T, or takes the rating an earlier cell of the table made of the same strategy.
    void RateOnce(TPerception& a, std::unique_ptr<TStrategy>& t, std::size_t at);
    // Rates T and notes what the rating did to the random generator.
    TRating Rated(TStrategy& t, bool optimize, const std::vector<std::uint32_t>* sample);
    // The same from the column's kept scores and results, leaving A's working values as they
    // happen to be.
    TRating Replayed(TSearchReplay& replay, const TStrategy& t, bool optimize);
    // Sets the values of B's ideal strategy at index at from the rating.
    void Take(const TRating& rating, std::size_t at);
    std::string ValuesCell(int field, const std::array<double, kMaxStrategies>& v) const;
    std::string AdaptationCell() const;

    // While a table is written: the ratings made, by the levels that matter to them (only those
    // of the tactics that reach a goal, unless a search is kept for A's adaptation); for each
    // column perception what it shares, the rating its last cell asked for (with all levels, and
    // the rating that answered it) and the last one it made by rating T.
    bool Caching = false;
    std::map<TRatingKey, TRating> Ratings;
    std::map<TPerception*, TColumn> Columns;
    std::map<TPerception*, std::pair<TRatingKey, const TRating*>> LastAsked;
    std::map<TPerception*, TRatingKey> LastRun;
};

}  // namespace kavo
