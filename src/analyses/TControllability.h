#pragma once

#include "analyses/TFactorAnalysis.h"
#include "reasoning/TProVal.h"

namespace kavo {

// "Controllability": the prospects and the free actions that reach the row's factors, the change
// the prospects bring ("noise") and the multipliers through which the actions act.
class TControllability : public TFactorAnalysis {
  public:
    // Positions of the fields.
    enum Field { fProspects, fNoise, fActions, fActionInfluence };

    TControllability(std::string title, TAnalysisFamily family)
        : TFactorAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;

    int ProspectCount = 0;
    int ActionCount = 0;
    // Mixture over the column's perceptions of the summed effect of the prospects.
    TProVal Noise{TProValKind::pvChange};
    // Mixture of the impact multipliers of the free actions.
    TProVal ActionInfluence{TProValKind::pvMultiplier};
};

}  // namespace kavo
