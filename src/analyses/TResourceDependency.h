#pragma once

#include "analyses/TActorActorAnalysis.h"

namespace kavo {

class TActor;
class TFiP;
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

    TResourceDependency(std::string title, TAnalysisFamily family)
        : TActorActorAnalysis(std::move(title), family) {}

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

  private:
    std::vector<TActor*> RowActors() const;
    // Counts the levels of one of B's actions in A's perception that help or hurt A.
    void RateLevels(const TFiP& action);
    // Adds what A can gain and lose over the search of B's actions; false when cancelled.
    bool ComputeColumn(TPerception& a, const std::vector<TActor*>& rowActors);
    // The best and worst scores of S over B's actions, under the rationality; false when
    // cancelled.
    bool SearchUnder(TStrategy& s, int rationality, const std::vector<TFiP*>& others, double& best,
                     double& worst);
};

}  // namespace kavo
