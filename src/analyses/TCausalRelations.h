#pragma once

#include "analyses/TFactorFactorAnalysis.h"
#include "reasoning/TProVal.h"

namespace kavo {

// "Perceived Causal Relations": the paths from the row's cause factors to its effect factors and
// the mixture of the impacts along them, averaged over the column's perceptions.
class TCausalRelations : public TFactorFactorAnalysis {
  public:
    // Positions of the fields.
    enum Field { fPaths, fInfluence, fUncertainty, fHistogram };

    TCausalRelations(std::string title, TAnalysisFamily family);

    void Compute() override;
    std::string ValueCells() override;

    int PathCount = 0;
    TProVal Influence{TProValKind::pvMultiplier};
};

}  // namespace kavo
