#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "cli/TCommand.h"

namespace kavo {

// The commands of kavo-cli, in the order the list of commands shows them.
std::span<const TCommand* const> Commands();

// The command of that name, or null.
const TCommand* FindCommand(std::string_view name);

// "kavo-cli --help": the usage lines, every command with its synopsis and summary, and the rule of
// exit statuses.
void WriteUsage(std::ostream& out);

// "kavo-cli NAME --help": the command's usage line and its help.
void WriteCommandUsage(const TCommand& command, std::ostream& out);

}  // namespace kavo
