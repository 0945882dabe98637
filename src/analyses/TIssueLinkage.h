#pragma once

#include <map>
#include <utility>

#include "analyses/TArenaAnalysis.h"

namespace kavo {

class TArena;
class TFactor;

// -1, 0 or +1: the direction of change of the factor that the actors of the arena prefer on
// balance, by the sum of the scores of their preferred changes (the analyst view takes no part).
// Ties and an arena without any preference give 0.
int Consensus(TArena& arena, const TFactor* factor);

// "Issue Linkage": the actors and factors that two arena groups share, and for the shared factors
// whether their arenas agree on the direction in which the factor should change.
class TIssueLinkage : public TArenaAnalysis {
  public:
    // Positions of the fields.
    enum Field {
        fCommonActors,
        fActorsPerArena,
        fCommonFactors,
        fFactorsPerArena,
        fSharedInterest,
        fSharedPerTotal,
        fConflictingInterest,
        fConflictingPerTotal,
    };

    TIssueLinkage(std::string title, TAnalysisFamily family)
        : TArenaAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;

    int RowActorCount = 0;
    int CommonActors = 0;
    int RowFactorCount = 0;
    int CommonFactors = 0;
    // (row arena, column arena, common factor) triples whose consensus agrees, or differs.
    int SharedInterest = 0;
    int ConflictingInterest = 0;
    int ComparedInterest = 0;

  private:
    // The preferences of the arenas' actors are rated by evaluations that may be estimated.
    void NoteSampling(const std::vector<TArena*>& arenas);
    // The consensus of an arena on a factor, worked out once per table: every cell of the arena's
    // row and column asks for it again.
    int KnownConsensus(TArena& arena, const TFactor* factor);

    std::map<std::pair<const TArena*, const TFactor*>, int> Consensuses;
};

}  // namespace kavo
