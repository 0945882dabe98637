#pragma once

#include "cli/TCommand.h"

namespace kavo {

// kavo-cli quick FOLDER --arena NAME [--actor NAME] --item NAME: prints what the quick-analysis
// pane shows for a factor or a link of a perception, as text.
extern const TCommand kQuickCommand;

}  // namespace kavo
