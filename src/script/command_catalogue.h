// The catalogue of command names: the built-ins of the native script, the built-ins of the script
// VMs, and the engine commands by family. Registration runs from it, so a command joins the engine
// when its family provides a body for its name.
#pragma once

#include <string_view>
#include <vector>

namespace vellum {

struct CommandFamily {
  std::string_view family;
  std::vector<std::string_view> names;
};

const std::vector<std::string_view>& nativeBuiltinNames();
const std::vector<std::string_view>& vmBuiltinNames();
const std::vector<CommandFamily>& engineCommandFamilies();

// Engine commands the script VMs do not get.
bool isNativeOnly(std::string_view name);

}  // namespace vellum
