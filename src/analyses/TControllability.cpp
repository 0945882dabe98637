#include "analyses/TControllability.h"

#include "analyses/TAnalysisRun.h"
#include "model/TCase.h"
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
    // The distributions are formed only for a column that shows them, or for the distribution
    // monitor, which sees every operation.
    const bool monitored = current.Context().MonitorChanges;
    const bool noise = FieldSelected(fNoise) || monitored;
    const bool influence = FieldSelected(fActionInfluence) || monitored;
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
                    if (influence) {
                        ActionInfluence.Cumulate(current, impact->Multiplier);
                    }
                }
                const TProspect* prospect = perception->ProspectOf(source.get());
                if (prospect != nullptr) {
                    ++ProspectCount;
                }
                if (prospect != nullptr && noise) {
                    TProVal effect;
                    effect.SetToProduct(current, prospect->Distribution, impact->Multiplier);
                    sum.IncreaseBy(current, effect);
                }
            }
        }
        if (noise) {
            Noise.Cumulate(current, sum);
        }
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
