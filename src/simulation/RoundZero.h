#pragma once

namespace kavo {

class TArena;
class TCase;

// Compiles the case into round 0, the pseudo-reality the rounds are played against. Every actor
// gets one perception uniting what it perceives in all arenas, goals included (a factor with goals
// in several arenas gets one goal from each), with averaged prospects and links; the arena's
// analyst view unites these perceptions without goals. Actors take their places in the order of
// play as they are first met. The case must hold no simulation arena: take them out first (after
// asking the user). Returns the new arena "*Round  0".
TArena* CompileRound0(TCase& owningCase);

}  // namespace kavo
