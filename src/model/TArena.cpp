#include "model/TArena.h"

#include <algorithm>

#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

namespace kavo {

namespace {

template <typename T>
void AppendOnce(std::vector<T*>& list, T* item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

}  // namespace

TArena::TArena(TCase* owningCase, std::string name)
    : TConcept(TConceptKind::ckArena, owningCase, std::move(name)),
      AnalystView(std::make_unique<TPerception>(this)) {}

TArena::~TArena() = default;

TAiA* TArena::FindActor(std::string_view name) const {
    for (const auto& record : Actors) {
        if (record->Actor->Name == name) {
            return record.get();
        }
    }
    return nullptr;
}

std::vector<TActor*> TArena::InvolvedActors() const {
    std::vector<TActor*> actors;
    for (const auto& record : Actors) {
        AppendOnce(actors, record->Actor);
    }
    for (const auto& record : Actors) {
        for (const auto& fip : record->Perception->FiPs) {
            if (fip->Factor->IsAction && fip->Factor->Owner != nullptr) {
                AppendOnce(actors, fip->Factor->Owner);
            }
        }
    }
    return actors;
}

std::vector<TFactor*> TArena::InvolvedFactors() const {
    std::vector<TFactor*> factors;
    for (const auto& record : Actors) {
        for (const auto& fip : record->Perception->FiPs) {
            AppendOnce(factors, fip->Factor);
        }
    }
    return factors;
}

TAiA* TArena::AddActor(TActor* actor) {
    Actors.push_back(std::make_unique<TAiA>(this, actor));
    return Actors.back().get();
}

void TArena::DeleteAiA(const TAiA* record) {
    std::erase_if(Actors, [record](const auto& item) { return item.get() == record; });
}

}  // namespace kavo
