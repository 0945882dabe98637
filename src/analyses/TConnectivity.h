#pragma once

#include "analyses/TFactorAnalysis.h"

namespace kavo {

// "Connectivity and centrality": the links into and out of the row's factors, and the causal paths
// that pass them, in the column's perceptions.
class TConnectivity : public TFactorAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fLinksIn,
        fInPerActor,
        fLinksOut,
        fOutPerActor,
        fLinks,
        fLinksPerActor,
        fPaths,
        fPathsPerActor,
    };

    TConnectivity(std::string title, TAnalysisFamily family)
        : TFactorAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;

    // Every column perception, an empty one included.
    int PerceptionCount = 0;
    int LinksIn = 0;
    int LinksOut = 0;
    // A path through two of the row's factors counts for each.
    int PathCount = 0;
};

}  // namespace kavo
