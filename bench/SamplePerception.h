#pragma once

#include <memory>
#include <string>

#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo::bench {

// An analyst view of the size of a large case: 200 boxes in a grid of 20 by 10, every fifth an
// action, some stocks, goals, prospects and operators, and 400 links of every level and
// uncertainty between neighbouring boxes.
inline TPerception& BuildSamplePerception(TCase& owningCase) {
    constexpr int kColumns = 20;
    constexpr int kFiPs = 200;
    owningCase.FindOrCreateActor("Government", "Gov");
    TPerception& view = *owningCase.FindOrCreateArena("Sample")->AnalystView;
    for (int i = 0; i < kFiPs; ++i) {
        const std::string name = "Factor number " + std::to_string(i);
        TFactor* factor = i % 5 == 0 ? owningCase.FindOrCreateFactor(name, false, true, "Gov")
                                     : owningCase.FindOrCreateFactor(name, i % 7 == 0);
        view.Add(std::make_unique<TFiP>(factor));
        TFiP* fip = view.FiPs.back().get();
        fip->X = 100 + 150 * (i % kColumns);
        fip->Y = 60 + 100 * (i / kColumns);
        if (i % 9 == 0) {
            fip->Operator = TOperator::opMul;
        }
        if (i % 10 == 3) {
            const auto type = i % 20 == 3 ? TGoalType::gtNegative : TGoalType::gtStandard;
            view.Add(std::make_unique<TGoal>(owningCase, fip, type, i % 7 - 3, 1 + i % 3));
        }
        if (i % 8 == 1) {
            view.Add(std::make_unique<TProspect>(owningCase, fip, i % 7 - 3, i % 4));
        }
    }
    // Right-hand and lower neighbours (370 links), and 30 diagonals in the first three rows.
    const auto link = [&](int from, int to, int k) {
        view.Add(std::make_unique<TLink>(owningCase,
                                         view.FiPs[static_cast<std::size_t>(from)].get(),
                                         view.FiPs[static_cast<std::size_t>(to)].get()));
        view.Links.back()->Level = static_cast<std::int8_t>(k % 7 - 3);
        view.Links.back()->Uncertainty = static_cast<std::uint8_t>(k % 4);
    };
    for (int i = 0; i < kFiPs; ++i) {
        if (i % kColumns != kColumns - 1) {
            link(i, i + 1, i);
        }
        if (i + kColumns < kFiPs) {
            link(i, i + kColumns, i + 3);
        }
        if (i % kColumns < 10 && i < 3 * kColumns) {
            link(i, i + kColumns + 1, i + 5);
        }
    }
    view.Selection.clear();
    owningCase.MaxWidth = 3200;
    owningCase.MaxHeight = 1200;
    return view;
}

}  // namespace kavo::bench
