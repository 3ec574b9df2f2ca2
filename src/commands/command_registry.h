// Command dispatch tables: the native commands keyed by the CRC-32 of their names, and the script
// functions that funcLua/funcSqu turn into commands.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace vellum {

// A native command: the argument text (not trimmed at its start, NUL-terminated in storage) and its
// byte length.
using NativeHandler = void (*)(const char* arguments, int length);

struct ScriptFunction;
using ScriptFunctionCaller = void (*)(ScriptFunction& entry, const char* arguments, int length);

// A command that calls a Lua or Squirrel function. The label pass enters the name; the funcLua or
// funcSqu command fills in the rest when it runs.
struct ScriptFunction {
  char name[16] = {};
  int resultKind = 0;  // 0 none, 1 integer, 2 string
  ScriptFunctionCaller caller = nullptr;
};

struct CommandTables {
  std::unordered_map<uint32_t, NativeHandler> registry;
  std::unordered_map<uint32_t, ScriptFunction> scriptFunctions;
};

CommandTables& commandTables();
void resetCommandTables();

// A later registration under the same name replaces the earlier one.
void registerCommand(std::string_view name, NativeHandler handler);

// Registers every engine command; called once at start-up.
void registerAllCommands();

}  // namespace vellum
