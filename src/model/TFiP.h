#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/TCommentedObject.h"
#include "model/TLevels.h"
#include "reasoning/TProVal.h"

namespace kavo {

class TFactor;
class TLink;
class TPerception;

// How a factor combines its incoming influences.
enum class TOperator : std::uint8_t { opAdd = 0, opMul = 1, opMin = 2, opMax = 3 };

// A factor shown in a perception: its place in the diagram, its links, its action range and what
// the last evaluations computed for it.
class TFiP : public TCommentedObject {
  public:
    explicit TFiP(TFactor* factor);

    TFactor* Factor;
    TPerception* Perception = nullptr;
    TOperator Operator = TOperator::opAdd;
    TActionRange ActionRange = kFullActionRange;
    // The level chosen for an action, -3..+3, or kNoLevel.
    std::int16_t ChosenLevel = kNoLevel;
    // The levels of ActionRange in the order 0, +1, -1, +2, -2, +3, -3; kept by
    // UpdateFeasibleLevels.
    std::array<std::int8_t, 7> FeasibleLevels{};
    int FeasibleCount = 0;
    // Centre of the box in the diagram, pixels.
    std::int32_t X = 0;
    std::int32_t Y = 0;
    // Not owned: the perception's Links own them.
    std::vector<TLink*> InLinks;
    std::vector<TLink*> OutLinks;

    // Distribution of the change over every combination of uncertain values, as the last strategy
    // evaluation found it; and the change expected when nobody acts.
    TProVal Change{TProValKind::pvChange};
    TProVal AutonomousChange{TProValKind::pvChange};
    // The prospect's value and the factor's change in the last combination evaluated.
    double ProspectValue = 0;
    double CurrentChange = 0;
    int InfluencingProspects = 0;
    // For an action: what choosing each level brings to the perceiver's goals.
    TLevels<TProVal> LevelUtility;
    TLevels<TProVal> LevelSatisfaction;
    TLevels<TProVal> LevelFrustration;
    int AffectedGoals = 0;
    // The factor's value in a simulation round and the change still to come from feedback.
    double RoundValue = 0;
    double PendingChange = 0;
    // Velocity of the box in the automatic layout, pixels per step; halved after every step.
    double LayoutVX = 0;
    double LayoutVY = 0;

    void UpdateFeasibleLevels();
    // A new FiP of the same concept and settings in the other perception, added there. Returns the
    // FiP that the other perception holds for the concept afterwards.
    TFiP* CopyTo(TPerception& other) const;
};

}  // namespace kavo
