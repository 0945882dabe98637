#include "model/TAiA.h"

#include "model/TPerception.h"

namespace kavo {

TAiA::TAiA(TArena* arena, TActor* actor)
    : Actor(actor), Arena(arena), Perception(std::make_unique<TPerception>(this)) {}

TAiA::~TAiA() = default;

}  // namespace kavo
