// A call of a script-VM function declared by funcLua or funcSqu, as its command line gives it: the
// arguments, and the variable the result goes to. Shared by the Lua and Squirrel bindings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "commands/arg_list.h"
#include "script/command_registry.h"

namespace vellum {

struct ScriptFunctionCall {
  explicit ScriptFunctionCall(std::string_view text) : list(text) {}

  ArgList list;
  int passed = 0;                       // arguments for the function (not the result variable)
  int32_t* intResult = nullptr;         // result kind 1
  std::string* stringResult = nullptr;  // result kind 2
};

// Names the command and reads the call; false (reported) when the result variable is missing.
bool readScriptFunctionCall(const ScriptFunction& entry, ScriptFunctionCall& call);

}  // namespace vellum
