#include "analyses/TTacticRating.h"

#include "analyses/TAnalysisRun.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/Tactics.h"

namespace kavo {

void TTacticRating::Compute() {
    const TCase& current = Run->Case;
    AffectedGoals = 0;
    RatedUtility.Clear();
    RatedSatisfaction.Clear();
    RatedFrustration.Clear();
    for (TPerception* perception : ColumnPerceptions) {
        if (!perception->ResultsValid[TPerception::TacticsEvaluated]) {
            EvaluateAllTactics(*perception);
        }
        Run->NoteSampling(*perception);
        for (const TFactor* factor : RowFactors) {
            const TFiP* action = factor->IsAction ? perception->FindFiP(factor) : nullptr;
            if (action == nullptr) {
                continue;
            }
            AffectedGoals += action->AffectedGoals;
            RatedUtility.Cumulate(current, action->LevelUtility[TacticChange]);
            RatedSatisfaction.Cumulate(current, action->LevelSatisfaction[TacticChange]);
            RatedFrustration.Cumulate(current, action->LevelFrustration[TacticChange]);
        }
    }
}

std::string TTacticRating::ValueCells() {
    const TCase& current = Run->Case;
    // The spread is that of the normalised mixture: equal certain ratings show none.
    return SelectedCells({
        {fAffectedGoals, NumberCell(fAffectedGoals, AffectedGoals)},
        {fUtility, NumberCell(fUtility, RatedUtility.RawMean(current))},
        {fStdDevUtility, NumberCell(fStdDevUtility, RatedUtility.StdDev(current))},
        {fSatisfaction, PercentCell(fSatisfaction, RatedSatisfaction.Mean(current))},
        {fFrustration, PercentCell(fFrustration, RatedFrustration.Mean(current))},
    });
}

}  // namespace kavo
