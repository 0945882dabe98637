#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "analyses/TActorActorAnalysis.h"
#include "reasoning/TLevelledDistribution.h"

namespace kavo {

class TImpact;
class TLink;

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
    // Forgets the lookup tables of the perceptions before and after the table.
    void WriteTable(std::ostream& out) override;
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
    // Lookup tables of one perception's factors, links and inferred impacts, built at its first
    // comparison and kept for the rest of the table.
    struct TPairHash {
        std::size_t operator()(const std::pair<const void*, const void*>& pair) const {
            return std::hash<const void*>()(pair.first) * 31 +
                   std::hash<const void*>()(pair.second);
        }
    };
    using TPair = std::pair<const void*, const void*>;
    // A link or an impact with the levels of its distribution.
    template <typename TItem>
    struct TLevelled {
        const TItem* Item;
        TLevelledDistribution Levels;
    };
    struct TIndex {
        std::unordered_set<const void*> Factors;
        // Every link and every impact in the perception's order; the tables hold the first on
        // each pair of factors.
        std::vector<TLevelled<TLink>> AllLinks;
        std::unordered_map<TPair, const TLevelled<TLink>*, TPairHash> Links;
        std::vector<TLevelled<TImpact>> AllImpacts;
        // The perception's factors sorted, each with its place in the order they first show.
        std::vector<std::pair<const void*, int>> Slots;
        // The entry of AllImpacts first on each pair of factors, by their places (cause * number
        // of factors + effect), -1 for none; impacts join factors the perception shows.
        std::vector<std::int32_t> ImpactAt;
        // The impacts with a path, in the perception's order, with the places of their factors.
        struct TPathImpact {
            const TLevelled<TImpact>* Impact;
            int From;
            int To;
        };
        std::vector<TPathImpact> PathImpacts;
        bool HasImpacts = false;

        int SlotOf(const void* factor) const;
        const TLevelled<TImpact>* ImpactBetween(int from, int to) const;
    };
    // For every place of a factor of the first index, the place of the same factor in the second,
    // -1 where the second does not show it.
    static std::vector<int> Places(const TIndex& from, const TIndex& in);
    const TIndex& IndexOf(TPerception& perception, bool impacts);
    bool FactorsWanted() const;
    bool LinksWanted() const;
    bool PathsWanted() const;
    void CompareFactors(const TPerception& b);
    void CompareLinks(TPerception& b);
    void ComparePaths(TPerception& b);
    // Adds one pair of impacts on the same factors, one of which has a path.
    void AddImpacts(const TLevelled<TImpact>& m, const TLevelled<TImpact>& n);

    std::unordered_map<const TPerception*, TIndex> Indexes;
};

}  // namespace kavo
