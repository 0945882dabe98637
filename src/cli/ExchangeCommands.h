#pragma once

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli export FOLDER [--format json] [--out FILE]: the case as a JSON document.
extern const TCommand kExportCommand;
// kavo-cli import FILE OUTFOLDER [--force]: a case from a JSON document, written as a case folder.
extern const TCommand kImportCommand;

}  // namespace kavo
