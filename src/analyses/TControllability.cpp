#include "analyses/TControllability.h"

#include "analyses/TAnalysisRun.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"

namespace kavo {

void TControllability::Compute() {
    const TCase& current = Run->Case;
    ProspectCount = 0;
    ActionCount = 0;
    Noise.Clear();
    ActionInfluence.Clear();
    for (TPerception* perception : ColumnPerceptions) {
        if (!perception->ResultsValid[TPerception::Inferred]) {
            InferInfluences(*perception);
        }
        TProVal sum(TProValKind::pvChange);
        sum.SetChange(current, 0, 0);
        for (const TFactor* factor : RowFactors) {
            const TFiP* target = perception->FindFiP(factor);
            if (target == nullptr) {
                continue;
            }
            for (const auto& source : perception->FiPs) {
                const TImpact* impact = ImpactBetween(*perception, source.get(), target);
                if (impact == nullptr || !impact->HasPaths()) {
                    continue;
                }
                if (perception->IsFreeAction(source.get())) {
                    ++ActionCount;
                    ActionInfluence.Cumulate(current, impact->Multiplier);
                }
                if (const TProspect* prospect = perception->ProspectOf(source.get())) {
                    ++ProspectCount;
                    TProVal effect;
                    effect.SetToProduct(current, prospect->Distribution, impact->Multiplier);
                    sum.IncreaseBy(current, effect);
                }
            }
        }
        Noise.Cumulate(current, sum);
    }
}

std::string TControllability::ValueCells() {
    return SelectedCells({
        {fProspects, NumberCell(fProspects, ProspectCount)},
        {fNoise, FieldSelected(fNoise) ? HistogramCell(Noise) : ""},
        {fActions, NumberCell(fActions, ActionCount)},
        {fActionInfluence, FieldSelected(fActionInfluence) ? HistogramCell(ActionInfluence) : ""},
    });
}

}  // namespace kavo
