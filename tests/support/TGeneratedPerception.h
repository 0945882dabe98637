#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo::test {

// A small fixed generator, so that every run builds the same perceptions.
class TDraws {
  public:
    explicit TDraws(std::uint32_t seed) : State(seed) {}
    int Below(int n) {
        State = State * 1664525u + 1013904223u;
        return static_cast<int>((State >> 8) % static_cast<std::uint32_t>(n));
    }

  private:
    std::uint32_t State;
};

// The perceptions of the reasoning benchmarks: a causal map of the given number of
// factors-in-perception, free actions of 7 feasible levels each and plain factors, joined by twice
// as many links as there are FiPs, all running forward (so without cycles); 8 goals on the last
// factors; links of level +-1..+-3, the first ones of them uncertain (degree 1, three pairs) when
// asked. The case's Evaluations are 1,000,000, so a search enumerates every strategy.
struct TGeneratedPerception {
    explicit TGeneratedPerception(int fipCount, int uncertainLinks = 0, int actions = 6) {
        TDraws draws(static_cast<std::uint32_t>(fipCount) * 7919u + 17u);
        const int goals = 8;
        for (int i = 0; i < actions; ++i) {
            Actions.push_back(Build.Action("Act" + std::to_string(i)));
        }
        for (int i = actions; i < fipCount; ++i) {
            Factors.push_back(Build.Factor("F" + std::to_string(i)));
        }
        const int factors = static_cast<int>(Factors.size());
        const auto level = [&draws] {
            const int magnitude = 1 + draws.Below(3);
            return draws.Below(2) == 0 ? magnitude : -magnitude;
        };
        int links = 0;
        const auto link = [&](TFiP* from, TFiP* to) {
            const std::size_t before = Build.Perception->Links.size();
            Build.Link(from, to, level(), links < uncertainLinks ? 1 : 0);
            links += Build.Perception->Links.size() > before ? 1 : 0;
        };
        // Every action reaches the first third; every factor past the first has a cause.
        for (TFiP* action : Actions) {
            link(action, Factors[static_cast<std::size_t>(draws.Below(factors / 3 + 1))]);
        }
        for (int j = 1; j < factors; ++j) {
            link(Factors[static_cast<std::size_t>(draws.Below(j))],
                 Factors[static_cast<std::size_t>(j)]);
        }
        const int possible = factors * (factors - 1) / 2 + actions * factors;
        while (links < std::min(2 * fipCount, possible)) {
            const int from = draws.Below(actions + factors - 1);
            if (from < actions) {
                link(Actions[static_cast<std::size_t>(from)],
                     Factors[static_cast<std::size_t>(draws.Below(factors))]);
                continue;
            }
            const int start = from - actions;
            link(Factors[static_cast<std::size_t>(start)],
                 Factors[static_cast<std::size_t>(start + 1 + draws.Below(factors - start - 1))]);
        }
        for (int g = 0; g < goals && g < factors; ++g) {
            Build.Goal(Factors[static_cast<std::size_t>(factors - 1 - g)], level(), 1 + g % 3);
        }
        Fixture.Case.Evaluations = 1000000;
    }

    TCaseFixture Fixture;
    TPerceptionBuilder Build{Fixture.Case};
    std::vector<TFiP*> Actions;
    std::vector<TFiP*> Factors;
};

}  // namespace kavo::test
