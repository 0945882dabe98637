#pragma once

#include <cstdint>
#include <vector>

#include "model/TPerception.h"

namespace kavo {

class TPerception;

// The best strategy among those a search evaluated: the levels of its first best strategy (fewest
// total action first), one per action, and how many strategies tied with it.
struct TBestFound {
    // In the order of TSensitivity::Actions.
    std::vector<std::int8_t> Levels;
    // Not a number when no combination of uncertain values gave the item the value.
    double Score = 0;
    // Strategies that tied for the best score, this one included.
    std::size_t Ties = 0;
    // Every best strategy's levels, one tactic after another.
    std::vector<std::int8_t> TiedLevels;
    // Strategies the search evaluated, of StrategyCount; fewer when it sampled.
    std::int64_t Evaluations = 0;
    std::uint64_t StrategyCount = 0;
    // The number of sampled combinations of uncertain values the scores rest on when the
    // evaluations were estimated on a sample; 0 when every combination was visited.
    std::uint64_t SampledCombinations = 0;

    // Whether the strategy of these levels is among the best ones.
    bool Among(const std::vector<std::int8_t>& levels) const;
};

// One value of an uncertain item, and the best strategy when the item takes it.
struct TSensitivityValue {
    // A prospect's change or a link's multiplier, with its level -3..+3.
    double Value = 0;
    int Level = 0;
    double Probability = 0;
    TBestFound Best;
    // Whether the best strategy over every value is still among the best at this one.
    bool KeepsBaseStrategy = true;
};

// An uncertain prospect or link held at each of its values in turn.
struct TSensitivityItem {
    TUncertainItem Item;
    std::vector<TSensitivityValue> Values;
    // The best score's largest minus its smallest value over the item's values.
    double Swing = 0;
    // Whether some value makes the base best strategy lose its place among the best.
    bool ChangesStrategy = false;
};

// How much the best strategy of a perception depends on each of its uncertain items.
struct TSensitivity {
    // The free actions the strategies set, in perception order.
    std::vector<TFiP*> Actions;
    // With every item uncertain.
    TBestFound Base;
    // By descending swing; on equal swings those that change the strategy first, then in the
    // perception's order of uncertain items.
    std::vector<TSensitivityItem> Items;
    // False when the user cancelled (or a time limit stopped the work); Items is empty then.
    bool Complete = true;
};

// Searches the best strategy of the perception as its own search does (the case's Evaluations,
// the fixed sample of uncertain combinations when there are too many) and, from the same
// evaluations, the best strategy when each uncertain item takes each of its values in turn and the
// others stay uncertain: a strategy's score then counts only the combinations in which the item
// takes the value, weighted as before. With every combination visited that is exactly the score
// of the item held at the value; on a sample, an estimate on the part of the sample that has it.
// One search, whatever the number of items. The perception's items stay as they are.
TSensitivity FindSensitivity(TPerception& perception);

}  // namespace kavo
