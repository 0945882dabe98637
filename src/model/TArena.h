#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "model/TConcept.h"

namespace kavo {

class TActor;
class TAiA;
class TFactor;
class TPerception;

// A policy issue: the analyst's view of it and the actors taking part, each with a perception.
class TArena : public TConcept {
  public:
    TArena(TCase* owningCase, std::string name);
    ~TArena();

    std::unique_ptr<TPerception> AnalystView;
    // In insertion order.
    std::vector<std::unique_ptr<TAiA>> Actors;

    // The first record whose actor has exactly this name, letter case included; null when none.
    TAiA* FindActor(std::string_view name) const;
    // The actor of every record, then the owner of every action in their perceptions, each once.
    std::vector<TActor*> InvolvedActors() const;
    // The factors in any actor's perception, each once, in order of first occurrence.
    std::vector<TFactor*> InvolvedFactors() const;

    // Appends a record with an empty perception for the actor.
    TAiA* AddActor(TActor* actor);
    // Deletes the record with its perception; the actor stays in the case.
    void DeleteAiA(const TAiA* record);
};

}  // namespace kavo
