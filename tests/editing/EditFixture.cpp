#include "editing/EditFixture.h"

#include <algorithm>

#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"

namespace kavo::test {

namespace {

template <typename L, typename T>
bool Holds(const L& list, const T* item) {
    return std::any_of(list.begin(), list.end(), [item](const auto& entry) {
        if constexpr (requires { entry.get(); }) {
            return entry.get() == item;
        } else {
            return entry == item;
        }
    });
}

template <typename T>
bool Sorted(const TConceptList<T>& list) {
    return std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return CompareNames(a->Name, b->Name) < 0;
    });
}

void PerceptionFaults(const TCase& c, const TPerception& p, const std::string& where,
                      std::vector<std::string>& faults) {
    const auto fault = [&](const std::string& text) { faults.push_back(where + ": " + text); };
    for (const auto& fip : p.FiPs) {
        if (fip->Perception != &p || !Holds(c.FactorList, fip->Factor)) {
            fault("FiP of " + fip->Factor->Name + " out of place");
        }
        for (const TLink* link : fip->InLinks) {
            if (!Holds(p.Links, link) || link->ToFiP != fip.get()) {
                fault("stray incoming link at " + fip->Factor->Name);
            }
        }
        for (const TLink* link : fip->OutLinks) {
            if (!Holds(p.Links, link) || link->FromFiP != fip.get()) {
                fault("stray outgoing link at " + fip->Factor->Name);
            }
        }
    }
    for (const auto& link : p.Links) {
        if (!Holds(p.FiPs, link->FromFiP) || !Holds(p.FiPs, link->ToFiP) ||
            std::count(link->FromFiP->OutLinks.begin(), link->FromFiP->OutLinks.end(),
                       link.get()) != 1 ||
            std::count(link->ToFiP->InLinks.begin(), link->ToFiP->InLinks.end(), link.get()) != 1) {
            fault("link not in its ends' lists");
        }
    }
    for (const auto& goal : p.Goals) {
        if (!Holds(p.FiPs, goal->FiP)) {
            fault("goal on a FiP elsewhere");
        }
    }
    for (const auto& prospect : p.Prospects) {
        if (!Holds(p.FiPs, prospect->FiP)) {
            fault("prospect on a FiP elsewhere");
        }
    }
    for (const TPerceptionItem& item : p.Selection) {
        const bool held = std::visit(
            [&p](auto* selected) {
                if constexpr (std::is_same_v<decltype(selected), TFiP*>) {
                    return Holds(p.FiPs, selected);
                } else {
                    return Holds(p.Links, selected);
                }
            },
            item);
        if (!held) {
            fault("selection holds an item of no perception");
        }
    }
}

}  // namespace

std::vector<std::string> InvariantFaults(const TCase& c) {
    std::vector<std::string> faults;
    if (!Sorted(c.TagList) || !Sorted(c.FactorList) || !Sorted(c.ActorList) ||
        !Sorted(c.ArenaList) || !Sorted(c.GroupList)) {
        faults.push_back("a concept list is not sorted");
    }
    for (const auto& factor : c.FactorList) {
        if (factor->Owner == nullptr) {
            continue;
        }
        const auto& owned = factor->IsAction ? factor->Owner->Actions : factor->Owner->Attributes;
        if (!Holds(c.ActorList, factor->Owner) || !Holds(owned, factor.get())) {
            faults.push_back(factor->Name + " not among its actor's factors");
        }
    }
    for (const auto& actor : c.ActorList) {
        for (const TFactor* factor : actor->Actions) {
            if (!Holds(c.FactorList, factor) || factor->Owner != actor.get()) {
                faults.push_back(actor->Name + " lists an action it does not own");
            }
        }
        for (const TFactor* factor : actor->Attributes) {
            if (!Holds(c.FactorList, factor) || factor->Owner != actor.get()) {
                faults.push_back(actor->Name + " lists an attribute it does not own");
            }
        }
    }
    const auto tagsKnown = [&](const auto& list) {
        for (const auto& item : list) {
            for (const TTag* tag : item->Tags) {
                if (!Holds(c.TagList, tag)) {
                    faults.push_back(item->Name + " carries a tag the case lacks");
                }
            }
        }
    };
    tagsKnown(c.FactorList);
    tagsKnown(c.ActorList);
    tagsKnown(c.ArenaList);
    tagsKnown(c.GroupList);
    for (const auto& group : c.GroupList) {
        if (group->Comment != std::vector<std::string>{group->TagSetDescription()}) {
            faults.push_back(group->Name + " does not describe its tag set");
        }
    }
    for (const auto& relation : c.Relations) {
        if (!Holds(c.ActorList, relation->From) || !Holds(c.ActorList, relation->To)) {
            faults.push_back("a relation of an actor the case lacks");
        }
    }
    for (const auto& arena : c.ArenaList) {
        PerceptionFaults(c, *arena->AnalystView, arena->Name, faults);
        for (const auto& record : arena->Actors) {
            if (record->Arena != arena.get() || !Holds(c.ActorList, record->Actor)) {
                faults.push_back(arena->Name + " holds an actor the case lacks");
            }
            PerceptionFaults(c, *record->Perception, arena->Name + "/" + record->Actor->Name,
                             faults);
        }
    }
    return faults;
}

}  // namespace kavo::test
