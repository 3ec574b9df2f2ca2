// How many arguments a command takes, read from its line in the command reference where that line
// lists them plainly ("n, file, flags, division", "text[, box]"). Lines that describe their
// arguments in words, take a list or a condition, give no range.
#pragma once

#include <optional>
#include <string_view>

namespace vellum::lint {

struct ArgumentRange {
  int least = 0;
  int most = 0;
};

std::optional<ArgumentRange> argumentRange(std::string_view command);

// Whether the catalogue has the command for the native script: a built-in or an engine command.
bool isCataloguedCommand(std::string_view name);

}  // namespace vellum::lint
