#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

class TAiA;
class TArena;
class TFactor;

// An action held at, or chosen at, a change level -3..+3.
struct TActionLevel {
    TFactor* Action = nullptr;
    int Level = 0;
    friend bool operator==(const TActionLevel&, const TActionLevel&) = default;
};

// What one actor did in a round.
struct TActorTurn {
    // The actor's record in the new round; not owned.
    TAiA* Actor = nullptr;
    int Priority = 0;
    // Other actors' actions in the actor's perception, fixed at the level chosen before it in this
    // round or expected from the previous round, in perception order.
    std::vector<TActionLevel> Fixed;
    // The best strategy found: the first of the best (least action), with its score and the
    // number of strategies evaluated; no tactics when the search recorded none.
    std::vector<TActionLevel> Best;
    double BestScore = 0;
    std::int64_t Evaluations = 0;
    bool Complete = false;
    // The number of combinations of uncertain values the search's evaluations were estimated on;
    // 0 when they visited every combination.
    std::uint64_t SampledCombinations = 0;
};

// One executed round.
struct TRoundReport {
    // The new round arena; not owned. Null when the round was cancelled and removed again.
    TArena* Round = nullptr;
    int Number = 0;
    // In the order in which the actors acted.
    std::vector<TActorTurn> Turns;
    // The actions the actors chose for themselves, in order of choice.
    std::vector<TActionLevel> ChosenActions;
    // The same for the evaluation of the pseudo-reality.
    std::uint64_t SampledCombinations = 0;
    bool Cancelled = false;
};

}  // namespace kavo
