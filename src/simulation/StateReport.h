#pragma once

#include <string>
#include <vector>

namespace kavo {

class TPerception;

// The state of a perception as the "Path list" window shows it: the change of every factor under
// the levels the user chose (level 0 for an action without one), the links delayed to break
// cycles with their distributions, and the changes they carry on. Orders the perception and
// evaluates its chosen strategy anew.
std::vector<std::string> PerceptionStateReport(TPerception& perception);

}  // namespace kavo
