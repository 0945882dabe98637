#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "reasoning/TTactic.h"

namespace kavo {

class TPerception;

// What TStrategy::Search finds among the strategies of one set of tactics of a perception, for
// analyses that search it again and again with other tactics held: each strategy's score is kept
// across the searches (by the levels of the tactics that reach a goal, since the others change no
// score), so a strategy that an earlier search met is not evaluated again. A search visits the
// strategies in the order TStrategySearch does and seeds and draws the case's random generator as
// it does, so its best and worst scores, its first best strategy and the generator's state after it
// are those of the real search. It leaves the perception's working values as they happen to be.
class TSearchReplay {
  public:
    // What one search found: its best and worst scores, the levels of the best strategy that comes
    // first (the least total action, the first found among equals), and the levels it ends at.
    struct TFound {
        double BestScore = 0;
        double WorstScore = 0;
        std::vector<std::int8_t> Best;
        std::vector<std::int8_t> Last;
        // The score of the strategy at the levels it ends at.
        double LastScore = 0;
    };

    // Tactics: the strategies' actions, as TStrategySearch reads them (their levels are given to
    // each search). The perception must have been inferred.
    TSearchReplay(TPerception& perception, std::vector<TTactic> tactics);
    ~TSearchReplay();

    // Whether strategies can be kept: there are at most kMaxTactics tactics.
    bool Keeps() const { return Tactics.size() <= kMaxTactics; }
    // Whether searches can be replayed: strategies are kept, the perception has goals and there
    // are tactics. Otherwise a search does something else, which the caller does itself.
    bool Replays() const { return Keeps() && HasGoals && !Tactics.empty(); }
    // The tactics that reach a goal, one bit each.
    std::uint64_t GoalReach() const { return Reach; }

    // Only while Replays(): searches under the rationality 0..8, the tactics in excluded held at
    // the given levels and the others varied, as TStrategy::Search does with those excluded. Lets
    // events run now and then; false once the user has cancelled, and then what it found is
    // incomplete.
    bool Search(int rationality, const std::vector<std::int8_t>& levels,
                const std::vector<bool>& excluded, TFound& found);
    // From now on an uncertain perception's strategy met by a search under one of the rationalities
    // is scored under all of them in one evaluation, for the searches under the others that follow
    // and visit the same strategies.
    void ScoreTogether(std::vector<int> rationalities) { Together = std::move(rationalities); }
    // Only while Keeps(): the raw means of the utility, satisfaction and frustration distributions
    // that an evaluation at the levels gives.
    std::array<double, 3> Means(const std::vector<std::int8_t>& levels);

    // Lets go of the propagators the searches and evaluations keep between calls (the scores and
    // results stay): the caller's next ones are of another perception for a while.
    void Release();

    static constexpr std::size_t kMaxTactics = 21;

  private:
    class TScorer;

    // The scorer under the rationality (-1: the evaluator of results), made when first needed.
    TScorer& ScorerFor(int rationality);
    // The levels of the tactics that reach a goal, three bits each.
    std::uint64_t Key(const std::vector<std::int8_t>& levels) const;

    TPerception& Perception;
    std::vector<TTactic> Tactics;
    std::uint64_t Reach = 0;
    bool HasGoals = false;
    std::vector<int> Together;
    // By rationality, the scores of the strategies met, by key.
    std::array<std::unordered_map<std::uint64_t, double>, 9> Scores;
    std::unordered_map<std::uint64_t, std::array<double, 3>> KnownMeans;
    // The evaluator of results, then the scorer under each rationality, while kept.
    std::array<std::unique_ptr<TScorer>, 10> Scorers;
};

}  // namespace kavo
