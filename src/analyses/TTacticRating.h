#pragma once

#include "analyses/TTacticAnalysis.h"
#include "reasoning/TProVal.h"

namespace kavo {

// "Rating of Tactics": for each action group at one level, the goals the actions reach and the
// utility, satisfaction and frustration that level brings, over the column's perceptions.
class TTacticRating : public TTacticAnalysis {
  public:
    // Positions of the fields.
    enum Field { fAffectedGoals, fUtility, fStdDevUtility, fSatisfaction, fFrustration };

    TTacticRating(std::string title, TAnalysisFamily family)
        : TTacticAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;

    int AffectedGoals = 0;
    // Mixtures, over the column's perceptions and the row's actions, of the level's ratings; not
    // normalised, so their raw mean sums the expected values.
    TProVal RatedUtility{TProValKind::pvUtility};
    TProVal RatedSatisfaction{TProValKind::pvSatisfaction};
    TProVal RatedFrustration{TProValKind::pvFrustration};
};

}  // namespace kavo
