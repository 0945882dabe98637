#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/TCase.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo::bench {

// A small fixed generator, so that every run builds the same case.
class TSimulationDraws {
  public:
    explicit TSimulationDraws(std::uint32_t seed) : State(seed) {}
    int Below(int n) {
        State = State * 1664525u + 1013904223u;
        return static_cast<int>((State >> 8) % static_cast<std::uint32_t>(n));
    }

  private:
    std::uint32_t State;
};

// 10 actors in 5 arenas: each actor takes part in two neighbouring arenas, so every arena holds 4
// actors. Every perception shows 8 of its arena's 12 factors (two of them shared by all arenas; a
// third of them are stocks), its owner's 2 actions and one action of another actor, joined by 10
// links (two of them uncertain), with 3 prospects (one of them uncertain) and 2 goals. Round 0
// unites each actor's two perceptions into one of about 16 factors, and the pseudo-reality holds
// the 52 factors and 20 actions of all.
struct TSimulatedCase {
    TSimulatedCase() {
        TSimulationDraws draws(2026);
        const int actors = 10;
        const int arenas = 5;
        for (int a = 0; a < actors; ++a) {
            const std::string name = "Actor " + std::to_string(a);
            Case.FindOrCreateActor(name, "A" + std::to_string(a));
        }
        for (int arena = 0; arena < arenas; ++arena) {
            for (int a = 0; a < actors; ++a) {
                if (a % arenas == arena || (a + 1) % arenas == arena) {
                    Perception(draws, arena, a, (a + 2 + arena) % actors);
                }
            }
        }
    }

    void Perception(TSimulationDraws& draws, int arena, int actor, int other) {
        test::TPerceptionBuilder build(Case, "Actor " + std::to_string(actor),
                                       "Arena " + std::to_string(arena));
        // 8 of the arena's 12 factors (10 of its own and 2 that every arena shares), in the order
        // of their numbers.
        std::vector<int> numbers;
        while (numbers.size() < 8) {
            const int k = draws.Below(12);
            const int n = k < 10 ? 10 * arena + k : 90 + k;
            if (std::find(numbers.begin(), numbers.end(), n) == numbers.end()) {
                numbers.push_back(n);
            }
        }
        std::sort(numbers.begin(), numbers.end());
        std::vector<TFiP*> factors;
        for (const int n : numbers) {
            const std::string name = "Factor " + std::to_string(n);
            factors.push_back(build.Show(Case.FindOrCreateFactor(name, n % 3 == 0)));
        }
        std::vector<TFiP*> actions{build.Action("Act " + std::to_string(actor) + "a"),
                                   build.Action("Act " + std::to_string(actor) + "b")};
        actions.push_back(build.Show(Case.FindOrCreateFactor(
            "Act " + std::to_string(other) + "a", false, true, "A" + std::to_string(other))));
        const auto level = [&draws] {
            const int magnitude = 1 + draws.Below(3);
            return draws.Below(2) == 0 ? magnitude : -magnitude;
        };
        for (TFiP* action : actions) {
            build.Link(action, factors[static_cast<std::size_t>(draws.Below(5))], level());
        }
        // Causes come before their effects, so the union of the arenas has no cycle.
        for (std::size_t i = 1; i < factors.size(); ++i) {
            build.Link(factors[static_cast<std::size_t>(draws.Below(static_cast<int>(i)))],
                       factors[i], level(), i < 3 ? 1 : 0);
        }
        for (int i = 0; i < 3; ++i) {
            build.Prospect(factors[static_cast<std::size_t>(draws.Below(4))], level(),
                           i == 0 ? 1 + draws.Below(2) : 0);
        }
        build.Goal(factors[6], level(), 1 + draws.Below(3));
        build.Goal(factors[7], level(), 1 + draws.Below(3));
    }

    test::TTestPlatform Platform;
    TCase Case{Platform.Context};
};

}  // namespace kavo::bench
