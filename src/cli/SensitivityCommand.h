#pragma once

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli sensitivity FOLDER --arena NAME [--actor NAME] [--rationality N]
// [--time-limit SECONDS]: which uncertain prospect or link, held at each of its values in turn,
// moves the best strategy of one perception or its score the most, as one JSON document.
extern const TCommand kSensitivityCommand;

}  // namespace kavo
