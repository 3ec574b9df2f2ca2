// One line per command for the authors' command reference: how a script calls it, what it gives
// back and what it does. Commands without a line of their own are described by their family.
#pragma once

#include <string_view>

namespace vellum {

struct CommandSummary {
  std::string_view name;
  std::string_view arguments;  // as the native script writes them; outputs are %var / $var
  std::string_view does;
};

// The command's own line, or nullptr.
const CommandSummary* commandSummary(std::string_view name);
// What the commands of a family of the catalogue are for.
std::string_view familySummary(std::string_view family);

}  // namespace vellum
