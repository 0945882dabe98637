#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/TLevels.h"
#include "reasoning/TLevelledDistribution.h"

namespace kavo {

class TFactor;
class TGoal;
class TImpact;
class TPerception;
class TProspect;

// What comparing a perception with others reads of it, gathered once so that comparing it with
// many others repeats no lookup and no conversion: its FiPs, goals and prospects by factor, the
// level distributions of its prospects, and on request the impacts with a path between its FiPs
// and the expected utility of every level of its FiPs. Refers to the perception's items without
// owning them, and holds only while the perception and its results stay as they are.
class TComparisonProfile {
  public:
    explicit TComparisonProfile(const TPerception& perception);

    // Reads the inferred impacts: the perception must be inferred.
    void TakeInfluences();
    // Reads the tactic ratings: the perception's tactics must be evaluated.
    void TakeTactics();
    bool HasInfluences() const { return InfluencesTaken; }
    bool HasTactics() const { return TacticsTaken; }

    // An item sorted by its factor, with its index in its list.
    struct TByFactor {
        const TFactor* Factor;
        int Index;
    };
    // An impact with a path, between the FiPs of the given indices.
    struct TInfluence {
        int From;
        int To;
        TLevelledDistribution Multiplier;
    };

    const TPerception& Perception;
    // In the perception's order, and sorted by factor and then index.
    std::vector<const TGoal*> Goals;
    std::vector<TByFactor> GoalsByFactor;
    std::vector<const TProspect*> Prospects;
    std::vector<TLevelledDistribution> ProspectLevels;
    std::vector<TByFactor> ProspectsByFactor;
    std::vector<TByFactor> FiPsByFactor;
    // The perception's free actions, as FiP indices in order.
    std::vector<int> FreeActions;

    // With the influences taken: the impacts that have a path, by cause and then effect index; the
    // influences of the cause i are those from InfluenceStart[i] up to InfluenceStart[i + 1].
    int ImpactsWithPaths = 0;
    std::vector<TInfluence> Influences;
    std::vector<int> InfluenceStart;
    // The entry of Influences for the impact between FiPs i and j at i * FiP count + j, -1 where
    // the two have no impact with a path.
    std::vector<std::int32_t> InfluenceAt;

    // With the tactics taken: the raw mean of LevelUtility of every FiP.
    std::vector<TLevels<double>> MeanUtility;

    // The entries of a list sorted by factor that are on the factor.
    static std::pair<const TByFactor*, const TByFactor*> On(const std::vector<TByFactor>& sorted,
                                                            const TFactor* factor);

  private:
    bool InfluencesTaken = false;
    bool TacticsTaken = false;
};

}  // namespace kavo
