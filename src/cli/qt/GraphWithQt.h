#pragma once

#include <ostream>

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli graph in a build that draws: pictures drawn with Qt, as the graph window draws them.
TExitStatus WriteGraphWithQt(const TArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace kavo
