#pragma once

#include <ostream>

#include "cli/RenderCommand.h"

namespace kavo {

// Draws what the request asks for: reads the case, lays its boxes out in Qt's font metrics as the
// desktop program does, and draws the perception into the picture file. Messages and errors go to
// err.
TExitStatus RenderWithQt(const TRenderRequest& request, std::ostream& err);

}  // namespace kavo
