#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

class TArena;
class TCase;
class TFiP;

// The name of round n: "*Round" and the number right-aligned in three characters ("*Round  0",
// "*Round 12"). Such names sort before every name that begins with a letter or a digit, and among
// themselves in round order up to round 999.
std::string RoundName(int n);
inline constexpr int kMaxRound = 999;

// An arena the simulation made: its name begins with "*", which names typed by the user never do.
bool IsSimulationArena(const TArena& arena);
// An arena whose name begins with "*Round".
bool IsRoundArena(const TArena& arena);
// The number of a round arena, read from its name; none for another arena.
std::optional<int> RoundNumber(const TArena& arena);
TArena* FindRound(const TCase& owningCase, int n);
// The rounds after round 0 in the case's arena order: the arenas whose names contain "*Round "
// other than round 0.
std::vector<TArena*> PlottedRounds(const TCase& owningCase);

// Takes every simulation arena out of the case and hands them over in list order.
std::vector<std::unique_ptr<TArena>> TakeSimulationArenas(TCase& owningCase);
// Whether the case holds an arena of the simulation, which compiling round 0 deletes.
bool HasSimulationArenas(const TCase& owningCase);
// Round n and every arena after it whose name begins with "*Round", in list order; empty when
// there is no round n.
std::vector<TArena*> RoundsFrom(const TCase& owningCase, int n);
// Takes the rounds from n on out of the case and hands them over.
std::vector<std::unique_ptr<TArena>> TakeRoundsFrom(TCase& owningCase, int n);
// Puts arenas taken out of the case back in their places; marks the case modified.
void RestoreArenas(TCase& owningCase, std::vector<std::unique_ptr<TArena>> arenas);

// After a round's evaluation: the factor's accumulated change relative to its base level B (0 for
// unchanged) moves on by e, the mean of its change this round. A flow's value is the change of the
// round alone; a stock grows by compound growth of its level B + value, so its first round also
// gives e.
void UpdateRoundValue(TFiP& fip, const TCase& current);

}  // namespace kavo
