#pragma once

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli simulate FOLDER --rounds N [--from K] [--raise ACTOR]... [--lower ACTOR]...
// [--out OUTFOLDER] [--time-limit SECONDS]: compiles round 0 (or starts from round K), applies the
// priority commands in order, executes the rounds and prints what happened as one JSON document
// (docs/cli.md); questions are answered Yes, and with --out the case is written with its rounds.
extern const TCommand kSimulateCommand;

}  // namespace kavo
