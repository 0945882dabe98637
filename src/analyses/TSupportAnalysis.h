#pragma once

#include <array>
#include <memory>

#include "analyses/TActorActorAnalysis.h"

namespace kavo {

class TFiP;
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

  private:
    // The outcome of B's k-th ideal strategy for A: T itself, or the best A found around it.
    const TStrategy& Rate(TStrategy& t);
    std::string ValuesCell(int field, const std::array<double, kMaxStrategies>& v) const;
    std::string AdaptationCell() const;
};

}  // namespace kavo
