#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"

namespace kavo::test {

// A messy diagram to lay out: the analyst view of a new arena with the given number of factors
// dropped at random into a square of the given side near the top left of the drawing area, and
// about one and a half links per factor between random pairs. The same seed gives the same
// diagram.
inline TPerception& BuildTangledPerception(TCase& owningCase, int fips, std::uint32_t seed,
                                           int side = 240) {
    std::uint32_t state = seed * 2654435761u + 1u;
    const auto below = [&state](int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    };
    if (owningCase.MaxWidth == 0) {
        owningCase.MaxWidth = 1600;
        owningCase.MaxHeight = 1000;
    }
    TPerception& view =
        *owningCase.FindOrCreateArena("Tangle " + std::to_string(seed))->AnalystView;
    for (int i = 0; i < fips; ++i) {
        view.Add(std::make_unique<TFiP>(owningCase.FindOrCreateFactor("F" + std::to_string(i))));
        view.FiPs.back()->X = 80 + below(side);
        view.FiPs.back()->Y = 60 + below(side);
    }
    for (int i = 0; i < fips * 3 / 2; ++i) {
        const int from = below(fips);
        const int to = below(fips);
        if (from != to) {
            view.Add(std::make_unique<TLink>(owningCase,
                                             view.FiPs[static_cast<std::size_t>(from)].get(),
                                             view.FiPs[static_cast<std::size_t>(to)].get()));
        }
    }
    view.Selection.clear();
    return view;
}

}  // namespace kavo::test
