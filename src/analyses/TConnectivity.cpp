#include "analyses/TConnectivity.h"

#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TPath.h"

namespace kavo {

void TConnectivity::Compute() {
    PerceptionCount = 0;
    LinksIn = 0;
    LinksOut = 0;
    PathCount = 0;
    const bool paths = FieldSelected(fPaths) || FieldSelected(fPathsPerActor);
    for (TPerception* perception : ColumnPerceptions) {
        // The paths of an inferred perception are those its impacts refer to: they are counted as
        // they are, and only a perception without them is inferred.
        if (paths && !perception->ResultsValid[TPerception::Inferred]) {
            InferInfluences(*perception);
        }
        ++PerceptionCount;
        for (const TFactor* factor : RowFactors) {
            for (const auto& fip : perception->FiPs) {
                if (fip->Factor == factor) {
                    LinksIn += static_cast<int>(fip->InLinks.size());
                    LinksOut += static_cast<int>(fip->OutLinks.size());
                }
            }
            if (!paths) {
                continue;
            }
            for (const auto& path : perception->Paths) {
                PathCount += path.Visits(factor) ? 1 : 0;
            }
        }
    }
}

std::string TConnectivity::ValueCells() {
    const double perceptions = PerceptionCount;
    const int links = LinksIn + LinksOut;
    return SelectedCells({
        {fLinksIn, NumberCell(fLinksIn, LinksIn)},
        {fInPerActor, QuotientCell(fInPerActor, LinksIn, perceptions, false)},
        {fLinksOut, NumberCell(fLinksOut, LinksOut)},
        {fOutPerActor, QuotientCell(fOutPerActor, LinksOut, perceptions, false)},
        {fLinks, NumberCell(fLinks, links)},
        {fLinksPerActor, QuotientCell(fLinksPerActor, links, perceptions, false)},
        {fPaths, NumberCell(fPaths, PathCount)},
        {fPathsPerActor, QuotientCell(fPathsPerActor, PathCount, perceptions, false)},
    });
}

}  // namespace kavo
