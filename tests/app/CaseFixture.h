#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo::test {

struct TPlacedFactor {
    TFactor* Factor;
    int X;
    int Y;
};

// Adds the factors at their places (a factor shown already keeps its place) and links each to the
// next one.
inline std::vector<TFiP*> DrawChain(TCase& c, TPerception& perception,
                                    const std::vector<TPlacedFactor>& factors) {
    std::vector<TFiP*> fips;
    for (const TPlacedFactor& placed : factors) {
        auto fip = std::make_unique<TFiP>(placed.Factor);
        fip->X = placed.X;
        fip->Y = placed.Y;
        perception.Add(std::move(fip));
        fips.push_back(perception.FindFiP(placed.Factor));
    }
    for (std::size_t i = 0; i + 1 < fips.size(); ++i) {
        perception.Add(std::make_unique<TLink>(c, fips[i], fips[i + 1]));
    }
    return fips;
}

// A small water case: two arenas, three actors, plain factors, an action and an attribute, and
// perceptions with links, a goal and a prospect.
inline void FillWaterCase(TCase& c) {
    c.Name = "Water test";
    c.Comment = {"A small case for the window tests."};
    TArena* irrigation = c.FindOrCreateArena("Irrigation");
    TArena* drinking = c.FindOrCreateArena("Drinking water");
    irrigation->Comment = {"Who pumps how much."};
    TAiA* farmers = c.AddActorToArena(*irrigation, "Farmers", "Farm");
    c.AddActorToArena(*irrigation, "Water board", "Board");
    c.AddActorToArena(*drinking, "Water board", "Board");
    c.AddActorToArena(*drinking, "Citizens", "Cit");
    farmers->Comment = {"They depend on the wells."};

    TFactor* level = c.FindOrCreateFactor("Groundwater level", true);
    TFactor* yield = c.FindOrCreateFactor("Crop yield");
    TFactor* price = c.FindOrCreateFactor("Water price");
    TFactor* pumping = c.FindOrCreateFactor("Pumping", false, true, "Farm");
    TFactor* income = c.FindOrCreateFactor("Income", false, false, "Farm");
    TFactor* levy = c.FindOrCreateFactor("Levy", false, true, "Board");

    TPerception& seen = *farmers->Perception;
    const std::vector<TFiP*> fips =
        DrawChain(c, seen, {{pumping, 80, 60}, {yield, 240, 60}, {income, 400, 60}});
    const std::vector<TFiP*> cost = DrawChain(c, seen, {{pumping, 80, 60}, {level, 160, 180}});
    seen.Add(std::make_unique<TGoal>(c, fips[2], TGoalType::gtStandard, 2, 3));
    seen.Add(std::make_unique<TProspect>(c, cost[1], -1, 1));
    fips[0]->Comment = {"Hours of pumping a day."};
    seen.Selection.clear();

    DrawChain(c, *irrigation->AnalystView,
              {{levy, 70, 50}, {price, 220, 50}, {pumping, 370, 50}, {level, 520, 50}});
    irrigation->AnalystView->Selection.clear();
    c.Modified = false;
}

}  // namespace kavo::test
