#pragma once

#include "analyses/TActorActorAnalysis.h"

namespace kavo {

// "Similarity of Perceived Causality": how much of B's factors, links and paths A's perceptions
// share, and how alike the shared links and influences are. Each of B's items counts once, however
// many of A's perceptions share it, so the shares stay within 0 % to 100 %.
class TSimilarity : public TActorActorAnalysis {
  public:
    // Positions of the fields.
    enum Field { fSharedFactors, fSharedLinks, fLinkSimilarity, fSharedPaths, fPathSimilarity };

    TSimilarity(std::string title, TAnalysisFamily family)
        : TActorActorAnalysis(std::move(title), family) {}

    void Compute() override;
    std::string ValueCells() override;
    std::string ExtraHeaderCells() override;
    std::string ExtraRowCells() override;

    // B's own items, and those of them that some perception of A shares.
    int FactorCount = 0;
    int SharedFactors = 0;
    int LinkCount = 0;
    int SharedLinks = 0;
    int PathCount = 0;
    int SharedPaths = 0;
    // (B's link, A's perception) pairs where A has the link too, and the sum of their similarities
    // 0..1.
    int SharedLinkPairs = 0;
    double LinkSimilarity = 0;
    // (B's impact, A's perception) pairs where A has the impact and one of them a path, and the
    // sum of their similarities 0..1.
    int SharedImpacts = 0;
    double PathSimilarity = 0;

  private:
    bool FactorsWanted() const;
    bool LinksWanted() const;
    bool PathsWanted() const;
    void CompareFactors(const TPerception& b);
    void CompareLinks(const TPerception& b);
    void ComparePaths(TPerception& b);
};

}  // namespace kavo
