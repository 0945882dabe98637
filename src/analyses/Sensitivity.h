#pragma once

#include <cstdint>
#include <vector>

#include "model/TPerception.h"

namespace kavo {

class TPerception;

// The best strategy a search found: the levels of its first best strategy (fewest total action
// first), one per tactic, and how many strategies tied with it.
struct TBestFound {
    // In the order of TSensitivity::Actions.
    std::vector<std::int8_t> Levels;
    double Score = 0;
    // Strategies that tied for the best score, this one included.
    std::size_t Ties = 0;
    // Every best strategy's levels, one tactic after another.
    std::vector<std::int8_t> TiedLevels;
    // Strategies the search evaluated, of StrategyCount; fewer when it sampled.
    std::int64_t Evaluations = 0;
    std::uint64_t StrategyCount = 0;
    // kMaxCombinations when its evaluations were estimated on a sample of uncertain combinations,
    // 0 when exact.
    std::uint64_t SampledCombinations = 0;

    // Whether the strategy of these levels is among the best ones.
    bool Among(const std::vector<std::int8_t>& levels) const;
};

// One value of an uncertain item held certain, and the best strategy then.
struct TSensitivityValue {
    // A prospect's change or a link's multiplier, with its level -3..+3.
    double Value = 0;
    int Level = 0;
    double Probability = 0;
    TBestFound Best;
    // Whether the best strategy found without holding anything is still among the best.
    bool KeepsBaseStrategy = true;
};

// An uncertain prospect or link held at each of its values in turn.
struct TSensitivityItem {
    TUncertainItem Item;
    std::vector<TSensitivityValue> Values;
    // The best score's largest minus its smallest value over the held values.
    double Swing = 0;
    // Whether some held value makes the base best strategy lose its place among the best.
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
    // False when the user cancelled (or a time limit stopped the work) before every item was done;
    // Items then holds those done.
    bool Complete = true;
};

// Searches the best strategy of the perception with every uncertain item as it is, then with each
// uncertain item held at each of its values in turn, the others left uncertain. The searches run as
// the best strategy's search does (the case's Evaluations, the same sample of uncertain
// combinations when there are too many). The perception's items are as they were afterwards; its
// strategy results are marked out of date.
TSensitivity FindSensitivity(TPerception& perception);

}  // namespace kavo
