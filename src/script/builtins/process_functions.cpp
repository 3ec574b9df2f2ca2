// getArg index, $out: the game's command-line arguments.
#include <string>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "base/text_encoding.h"
#include "script/builtins/builtin_families.h"

namespace vellum {

namespace {

// The empty string past the last argument. Arguments arrive as UTF-8 and scripts read GBK.
int getArgBody(void* call) {
  const int32_t index = args().getInt(call, 1);
  const auto& arguments = engine().gameArguments;
  const bool present = index >= 0 && static_cast<size_t>(index) < arguments.size();
  const std::string argument = present ? fromUtf8(arguments[static_cast<size_t>(index)], CodePage::Gbk) : std::string();
  args().returnBytes(call, 2, argument.data(), argument.size());
  return 1;
}

}  // namespace

void provideProcessFunctions() { provideCommand("getArg", &getArgBody); }

}  // namespace vellum
