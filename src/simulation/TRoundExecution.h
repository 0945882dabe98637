#pragma once

#include <optional>

#include "simulation/TRoundReport.h"

namespace kavo {

class TAiA;
class TArena;
class TCase;
class TFactor;
class TFiP;
class TPerception;

// Executes the round after a given round: copies it into a new round arena, adapts the actors'
// goals to what was achieved, draws the pseudo-reality's uncertain prospects and links from round
// 0 (or keeps their uncertainty), lets every actor in its order of play search its best strategy
// knowing the choices made before it and expecting the others to repeat the previous round, and
// applies the choices to the pseudo-reality, whose evaluation gives every factor's change and round
// value. Everything found missing is a warning; the round goes on with what it has.
class TRoundExecution {
  public:
    explicit TRoundExecution(TCase& owningCase);

    // Checks that the case has a round 0 and that the arena (null for none) is a round to start
    // from; reports the warning and returns false when not.
    bool CanStartFrom(const TArena* previous) const;
    // The number of the round that follows the arena.
    static int NextNumber(const TArena& previous);
    // Executes the round after the previous one when CanStartFrom agrees; none otherwise.
    std::optional<TRoundReport> Run(TArena* previous);
    // Executes the round after the previous one, which CanStartFrom accepted. A round of that
    // number and the rounds after it are deleted: take them out first (after asking the user) to
    // keep them. When the user cancels, the new round is removed again and the report says so.
    TRoundReport Execute(TArena& previous);

  private:
    void TakeActionRanges(TPerception& perception, const TArena& roundZero);
    void AdaptGoals(TAiA& record, const TArena& roundZero, const TArena& round);
    void DrawUncertainties(const TArena& source, TPerception& reality, int n);
    void Play(TAiA& record, const TArena& previous, TActorTurn& turn);
    int ExpectedLevel(const TArena& previous, const TFiP& action);
    void Apply(TPerception& reality);
    std::optional<int> ChosenLevel(const TFactor* action) const;

    TCase& Case;
    TRoundReport Report;
};

}  // namespace kavo
