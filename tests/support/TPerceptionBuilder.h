#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo::test {

// Builds one actor's perception item by item, for reasoning tests and benchmarks.
class TPerceptionBuilder {
  public:
    TPerceptionBuilder(TCase& owningCase, const std::string& actor = "Farmer",
                       const std::string& arena = "Water")
        : Case(owningCase) {
        Actor = Case.FindOrCreateActor(actor, actor.substr(0, 1));
        Arena = Case.FindOrCreateArena(arena);
        Perception = Arena->AddActor(Actor)->Perception.get();
    }

    TFiP* Factor(const std::string& name) { return Show(Case.FindOrCreateFactor(name)); }
    // An action of the perception's owner.
    TFiP* Action(const std::string& name) {
        return Show(Case.FindOrCreateFactor(name, false, true, Actor->ShortName));
    }
    TFiP* Show(TFactor* factor) {
        const int index = Perception->Add(std::make_unique<TFiP>(factor));
        return Perception->FiPs[static_cast<std::size_t>(index)].get();
    }
    // A link of the level (multiplier 1 at +2 with default options) and uncertainty degree.
    TLink* Link(TFiP* from, TFiP* to, int level = 2, int uncertainty = 0) {
        auto link = std::make_unique<TLink>(Case, from, to);
        link->Level = static_cast<std::int8_t>(level);
        link->Uncertainty = static_cast<std::uint8_t>(uncertainty);
        link->Vector = UncertaintyProfile(uncertainty, level);
        link->Distribution.SetMultiplier(Case, level, uncertainty);
        const int index = Perception->Add(std::move(link));
        return Perception->Links[static_cast<std::size_t>(index)].get();
    }
    // A link with the given multiplier pairs.
    TLink* Link(TFiP* from, TFiP* to, const std::vector<TPVPair>& pairs) {
        TLink* link = Link(from, to);
        link->Distribution.Clear();
        for (const TPVPair& pair : pairs) {
            link->Distribution.Add(Case, pair.Prob, pair.Value);
        }
        link->Distribution.Cumulation = 1;
        return link;
    }
    TProspect* Prospect(TFiP* fip, int level, int uncertainty = 0) {
        const int index =
            Perception->Add(std::make_unique<TProspect>(Case, fip, level, uncertainty));
        return Perception->Prospects[static_cast<std::size_t>(index)].get();
    }
    TProspect* Prospect(TFiP* fip, const std::vector<TPVPair>& pairs) {
        TProspect* prospect = Prospect(fip, 0);
        prospect->Distribution.Clear();
        for (const TPVPair& pair : pairs) {
            prospect->Distribution.Add(Case, pair.Prob, pair.Value);
        }
        prospect->Distribution.Cumulation = 1;
        return prospect;
    }
    TGoal* Goal(TFiP* fip, int level, int priority = 2, TGoalType type = TGoalType::gtStandard) {
        const int index =
            Perception->Add(std::make_unique<TGoal>(Case, fip, type, level, priority));
        return Perception->Goals[static_cast<std::size_t>(index)].get();
    }

    TCase& Case;
    TActor* Actor;
    TArena* Arena;
    TPerception* Perception;
};

}  // namespace kavo::test
