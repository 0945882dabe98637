#pragma once

#include <cstdint>

namespace kavo {

class TAiA;
class TArena;
class TCase;

// How the arenas, actors or factors of an analysis run are combined. Arenas offer the first five,
// actors all six, factors the first four.
enum class TGroupingMode : std::uint8_t {
    gmTotal = 0,             // all together as one entity
    gmAggregateByGroup = 1,  // the members of each checked group as one entity
    gmClusterByGroup = 2,    // each member apart, shown under its group
    gmNone = 3,              // each apart
    gmSelected = 4,          // only the arena (actor) selected in the case window
    gmAnalysts = 5,          // the analyst views instead of the actors
};

// The grouping of one analysis run: the case's modes, possibly overridden, and the selection of the
// case window, which the modes "selected arena only" and "selected actor only" take.
class TGroupingSettings {
  public:
    // The case's modes with nothing selected.
    static TGroupingSettings Of(const TCase& owningCase);

    // The modes as stored, 0..9 each; ArenaMode and the others read them.
    std::uint8_t ArenaGrouping = 4;
    std::uint8_t ActorGrouping = 4;
    std::uint8_t FactorGrouping = 3;
    bool MentionedOnly = true;
    // Not owned; the actor in arena belongs to the selected arena.
    TArena* SelectedArena = nullptr;
    TAiA* SelectedAiA = nullptr;

    // The modes that apply: a value the dimension does not offer is total aggregation.
    TGroupingMode ArenaMode() const;
    TGroupingMode ActorMode() const;
    TGroupingMode FactorMode() const;
    bool ActorsClustered() const { return ActorMode() == TGroupingMode::gmClusterByGroup; }
    bool FactorsClustered() const { return FactorMode() == TGroupingMode::gmClusterByGroup; }
};

}  // namespace kavo
