// Command dispatch tables: the native commands keyed by the CRC-32 of their names, and the script
// functions that funcLua/funcSqu turn into commands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/arg_accessor.h"

namespace vellum {

// A native-only command: the argument text (not trimmed at its start, NUL-terminated in storage)
// and its byte length.
using NativeHandler = void (*)(const char* arguments, int length);

// What a name runs: a native-only handler that parses its own text, or a body shared by the native
// script and the script VMs (reached natively through an argument list).
struct CommandEntry {
  NativeHandler native = nullptr;
  CommandBody body = nullptr;

  bool empty() const { return !native && !body; }
  void invoke(const char* arguments, int length) const;
};

struct ScriptFunction;
using ScriptFunctionCaller = void (*)(ScriptFunction& entry, const char* arguments, int length);

// A command that calls a Lua or Squirrel function. The label pass enters the name; the funcLua or
// funcSqu command fills in the rest when it runs.
struct ScriptFunction {
  std::string name;  // the function to call, kept whole
  int resultKind = 0;  // 0 none, 1 integer, 2 string
  ScriptFunctionCaller caller = nullptr;
};

struct CommandTables {
  std::unordered_map<uint32_t, CommandEntry> registry;
  std::unordered_map<uint32_t, ScriptFunction> scriptFunctions;
};

// Change the registry only through the functions below: they count every change.
CommandTables& commandTables();
void resetCommandTables();
// How many times the native registry has changed; an entry found under an older count may be stale.
uint64_t registryChanges();

// A later registration under the same name replaces the earlier one.
void registerCommand(std::string_view name, NativeHandler handler);
void registerCommand(std::string_view name, CommandBody body);

// The engine's one function that runs every family's provider; the tables call it before their
// first look-up (a lower layer cannot name the families itself).
void setCommandProviders(void (*provideAll)());

// Families hand their bodies in by name; registration then follows the catalogue's order.
void provideCommand(std::string_view name, NativeHandler handler);
void provideCommand(std::string_view name, CommandBody body);
// Every name a body was provided for.
std::vector<std::string> providedCommandNames();
// The body provided for a name, or an empty entry.
CommandEntry providedCommand(std::string_view name);

// A body the script VMs register instead of the provided native handler, for a native form that
// parses its own argument text.
void provideVmBody(std::string_view name, CommandBody body);
// What a script VM registers under a name: its own body when one was provided, else the shared
// body; null for a native-only command.
CommandBody scriptVmBody(std::string_view name);

// Registers every catalogued command that has a body, built-ins first; called once at start-up.
void registerAllCommands();

// The commands a script VM gets when it is created, in registration order: the VM built-ins, then
// every engine command except the native-only ones. Only names with a shared body are visited.
void forEachVmCommand(const std::function<void(std::string_view name, CommandBody body)>& visit);

}  // namespace vellum
