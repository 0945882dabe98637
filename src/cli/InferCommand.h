#pragma once

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli infer FOLDER [--arena NAME] [--actor NAME | --analyst] [--no-search]
// [--time-limit SECONDS]: reads the case and prints, as one JSON document, the inference, the
// expected changes, the rating of every action and the standing strategies of each selected
// perception (docs/cli.md describes the document).
extern const TCommand kInferCommand;

}  // namespace kavo
