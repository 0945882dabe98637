#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "reasoning/TProVal.h"

namespace kavo {

class TCase;
class TFiP;
class TImPathSet;
class TImpact;
class TLink;
class TPerception;

// Beyond this many causal paths a perception is too dense to enumerate them: the inference stops
// with a warning and keeps what it found (InferenceComplete false).
inline constexpr std::size_t kMaxPaths = 250000;
// An evaluation visits every combination of uncertain values while there are at most this many.
// Beyond it, it is estimated on a fixed sample of this many combinations of weight 1/4096 each,
// drawn from the case's random seed, the same for every evaluation of a search.
inline constexpr std::uint64_t kMaxCombinations = 4096;

// Every causal path, the cycles among them, the propagation order with its delayed links and the
// impact of every FiP on every FiP. Shows its progress in the status text and stops when the user
// cancels; a cancelled inference leaves ResultsValid[Inferred] false.
void InferInfluences(TPerception& perception);
// Every simple chain of links, depth first from each FiP's links in order, and the cycles among
// them; the walk stops at kMaxPaths or when cancelled. Returns false when it stopped early.
bool BuildPaths(TPerception& perception);
// An order in which changes can be propagated, from the current cycles: roots first, then every
// FiP once its causes are placed; a blocked cycle is entered at its first pending FiP and the
// links that close it are delayed. FiPs that can never change stay out.
void FindOrder(TPerception& perception);
// The total multiplier of the impact over its paths.
void ComputeImpact(const TCase& current, TImpact* impact);
// The total multiplier of a set of parallel working paths; uncertain links shared by paths are
// factored out or conditioned on rather than counted as independent.
TProVal PathSetDistribution(const TCase& current, const TImPathSet& set);
// The uncertain links of a's paths that occur in some path of b, in order of first appearance.
std::vector<TLink*> SharedUncertainLinks(const TImPathSet& a, const TImPathSet& b);

// The impact of one FiP's factor on another's, or null.
TImpact* ImpactBetween(const TPerception& perception, const TFiP* from, const TFiP* to);
// Whether a cycle passes through the FiP's factor.
bool IsOnCycle(const TPerception& perception, const TFiP* fip);
// Prospects, then links, whose distribution has more than one pair.
void CollectUncertainItems(TPerception& perception);
// The number of combinations of uncertain values: the product of the pair counts of the prospects
// and links with more than one pair (1 when there are none), at most the largest uint64.
std::uint64_t UncertainCombinations(const TPerception& perception);
// The number of combinations an evaluation of the perception is estimated on: kMaxCombinations
// when it has more than that, 0 when every combination is visited and the results are exact.
std::uint64_t SampledCombinations(const TPerception& perception);
// Selects the next cycle (after the last, the first again): its first FiP, then each link and the
// FiP it leads to.
void SelectNextCycle(TPerception& perception);

}  // namespace kavo
