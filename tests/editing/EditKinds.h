#pragma once

#include <functional>
#include <vector>

namespace kavo {
class TCase;
class TEdit;
}  // namespace kavo

namespace kavo::test {

class TPicker;

// One kind of edit the program makes, applied to things of the case that the picker chooses. Make
// returns false when the case holds nothing it applies to, or the edit was refused.
struct TEditKind {
    const char* Name;
    std::function<bool(TEdit& edit, TCase& owningCase, TPicker& pick)> Make;
};

// Every kind of edit, each made as the window's commands make it.
const std::vector<TEditKind>& EditKinds();

}  // namespace kavo::test
