#include "analyses/TCausalRelations.h"

#include <algorithm>

#include "analyses/TAnalysisRun.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"

namespace kavo {

namespace {

bool Contains(const std::vector<TFactor*>& factors, const TFactor* factor) {
    return std::ranges::find(factors, factor) != factors.end();
}

}  // namespace

TCausalRelations::TCausalRelations(std::string title, TAnalysisFamily family)
    : TFactorFactorAnalysis(std::move(title), family) {
    RowHeaderCells =
        "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Cause</th>"
        "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Effect</th>";
}

void TCausalRelations::Compute() {
    const TCase& current = Run->Case;
    PathCount = 0;
    Influence.Clear();
    for (TPerception* perception : ColumnPerceptions) {
        if (!perception->ResultsValid[TPerception::Inferred]) {
            InferInfluences(*perception);
        }
        for (const auto& cause : perception->FiPs) {
            if (!Contains(RowFactors, cause->Factor)) {
                continue;
            }
            for (const auto& effect : perception->FiPs) {
                if (!Contains(EffectFactors, effect->Factor)) {
                    continue;
                }
                const TImpact* impact = ImpactBetween(*perception, cause.get(), effect.get());
                if (impact != nullptr && impact->HasPaths()) {
                    PathCount += static_cast<int>(impact->Paths.size());
                    Influence.Cumulate(current, impact->Multiplier);
                }
            }
        }
    }
}

std::string TCausalRelations::ValueCells() {
    const TCase& current = Run->Case;
    return SelectedCells({
        {fPaths, NumberCell(fPaths, PathCount)},
        {fInfluence, NumberCell(fInfluence, Influence.Mean(current))},
        {fUncertainty, NumberCell(fUncertainty, Influence.StdDev(current))},
        {fHistogram, FieldSelected(fHistogram) ? HistogramCell(Influence) : ""},
    });
}

}  // namespace kavo
