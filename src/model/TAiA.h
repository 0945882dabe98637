#pragma once

#include <memory>

#include "model/TCommentedObject.h"

namespace kavo {

class TActor;
class TArena;
class TPerception;

// An actor taking part in an arena; owns that actor's perception of the arena.
class TAiA : public TCommentedObject {
  public:
    TAiA(TArena* arena, TActor* actor);
    ~TAiA();

    TActor* Actor;
    TArena* Arena;
    std::unique_ptr<TPerception> Perception;
    // Place in the order in which actors act in a round, from 1; 0 for a record the user added.
    int Priority = 0;
};

}  // namespace kavo
