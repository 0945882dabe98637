#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "model/TGeometry.h"
#include "reasoning/TDrawnSample.h"
#include "reasoning/TPathList.h"

namespace kavo {

class TAiA;
class TArena;
class TCase;
class TConcept;
class TFactor;
class TFiP;
class TGoal;
class TImpact;
class TLink;
class TProspect;
class TPseudoGroup;
class TStrategy;

// A selected item of a diagram.
using TPerceptionItem = std::variant<TFiP*, TLink*>;
// A prospect or link whose distribution has more than one pair.
using TUncertainItem = std::variant<TProspect*, TLink*>;

// The causal map of one actor in one arena, or the analyst's view of an arena: factors joined by
// links, with goals and prospects on some factors. Holds at most one FiP per concept and one link
// per ordered pair of FiPs; the goal (prospect) of a FiP is the first in Goals (Prospects) on it.
class TPerception {
  public:
    explicit TPerception(TArena* analystViewOf);
    explicit TPerception(TAiA* perceiver);
    explicit TPerception(TPseudoGroup* assembledFor);
    ~TPerception();
    TPerception(const TPerception&) = delete;
    TPerception& operator=(const TPerception&) = delete;

    // Exactly one of these is set.
    TArena* ArenaOwner() const;
    TAiA* AiAOwner() const;
    TPseudoGroup* GroupOwner() const;
    TCase* Case() const;
    // "group " and the group's caption, "*Analyst view", or the actor's name.
    std::string OwnerName() const;

    // In insertion order.
    std::vector<std::unique_ptr<TFiP>> FiPs;
    std::vector<std::unique_ptr<TProspect>> Prospects;
    std::vector<std::unique_ptr<TGoal>> Goals;
    std::vector<std::unique_ptr<TLink>> Links;
    // In the order of selection; not owned.
    std::vector<TPerceptionItem> Selection;
    // Index of the cycle last selected, -1 for none.
    int CycleIndex = -1;
    // The area of the last drawing of the diagram, from the origin; its right and bottom edges are
    // negative when there was nothing to draw.
    TRect Extent;
    // 0..8, as the case's DefaultRationality.
    std::uint8_t Rationality = 0;
    // Whether the cached results of inference and strategy search are up to date, indexed by
    // Inferred, ChangesExpected, TacticsEvaluated and StrategiesFound.
    std::array<bool, 4> ResultsValid{};
    static constexpr std::size_t Inferred = 0;
    static constexpr std::size_t ChangesExpected = 1;
    static constexpr std::size_t TacticsEvaluated = 2;
    static constexpr std::size_t StrategiesFound = 3;

    // Results of the inference (valid while ResultsValid[Inferred] holds). Paths refer to links,
    // impacts to paths and the other lists to items of this perception, without owning them.
    TPathList Paths;
    std::vector<TPath> Cycles;
    std::vector<TFiP*> Order;
    std::vector<TLink*> DelayedLinks;
    // One for every ordered pair of FiPs, the causes in FiP order and for each the effects.
    std::vector<std::unique_ptr<TImpact>> Impacts;
    // False when the last inference stopped before it had every path.
    bool InferenceComplete = true;
    // Prospects, then links, with more than one pair, as last collected.
    std::vector<TUncertainItem> UncertainItems;
    // The sample of uncertain values that evaluations estimate on; dropped with the other results.
    TDrawnSample DrawnSample;
    // The standing strategies: no action, the best found, the levels the user chose.
    std::unique_ptr<TStrategy> DefaultStrategy;
    std::unique_ptr<TStrategy> BestStrategy;
    std::unique_ptr<TStrategy> ChosenStrategy;

    TFiP* FindFiP(const TConcept* item) const;
    // Reports "Link not found" when there is none and report is set.
    TLink* FindLink(const TConcept* cause, const TConcept* effect, bool report = false) const;
    TGoal* GoalOf(const TFiP* fip) const;
    TProspect* ProspectOf(const TFiP* fip) const;
    bool IsFreeAction(const TFiP* fip) const;

    // Adds an item and selects it; returns its index in its list. A FiP for a concept already
    // shown, or a link for a pair already linked, is dropped for the existing one (a goal or
    // prospect on the dropped FiP moves to the existing FiP).
    int Add(std::unique_ptr<TFiP> fip);
    int Add(std::unique_ptr<TLink> link);
    int Add(std::unique_ptr<TGoal> goal);
    int Add(std::unique_ptr<TProspect> prospect);
    // Removes and frees an item of this perception; a FiP takes its goal, prospect and links along.
    void Remove(TFiP* fip);
    void Remove(TLink* link);
    void Remove(TGoal* goal);
    void Remove(TProspect* prospect);

    // Free actions take the case's default action range, other actions the full range.
    void ApplyDefaultActionRange();
    // After a change of options or font: rescale positions, refresh goals from the utility tables,
    // rebuild prospect and link distributions from their vectors, take the default rationality.
    void ApplyCaseSettings();
    void InvalidateResults() {
        ResultsValid.fill(false);
        DrawnSample = {};
    }
    // Frees the results of inference and search, which refer to items of this perception.
    void ClearResults();

  private:
    void CreateStrategies();
    void Changed(TPerceptionItem selected);
    void Changed();
    void Deselect(TPerceptionItem item);

    std::variant<TArena*, TAiA*, TPseudoGroup*> Owner;
};

}  // namespace kavo
