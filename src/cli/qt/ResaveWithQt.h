#pragma once

#include <ostream>
#include <string>

#include "cli/CaseCommands.h"
#include "cli/TCommand.h"

namespace kavo {

// kavo-cli resave and import in a build that draws: as ResaveCase, with text measured in Qt's
// fonts as the desktop program measures it, and with the case's images written into OUTFOLDER/gif.
TExitStatus ResaveWithImages(const TCaseSource& source, const std::string& outFolder,
                             std::ostream& out, std::ostream& err);

}  // namespace kavo
