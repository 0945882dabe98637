#pragma once

#include <ostream>

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli analyse in a build that draws: the report's icons drawn with Qt, as the desktop
// program draws them.
TExitStatus AnalyseWithImages(const TArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kavo
