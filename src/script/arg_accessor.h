// The table through which every command body reads its arguments and returns its results. It is
// switched between the native script, Lua and Squirrel for the duration of a call, so one body
// serves all three languages. Argument indexes are 1-based.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellum {

enum class Binding : int { Native = 1, Lua = 2, Squirrel = 3 };

struct ArgAccessor {
  // Slots 0-6: the number of arguments for a command with k = 0..6 output arguments.
  int (*count[7])(void* call);
  int (*type)(void* call, int i);                 // compare with intType / stringType
  int (*canReceiveInt)(void* call, int i);
  int (*canReceiveString)(void* call, int i);
  int32_t (*getInt)(void* call, int i);
  int64_t (*getInt64)(void* call, int i);
  float (*getFloat)(void* call, int i);
  double (*getDouble)(void* call, int i);
  const char* (*getString)(void* call, int i);
  const char* (*getStringLength)(void* call, int i, size_t* length);
  void (*discard)(void* call, int n);
  void (*returnInt)(void* call, int i, int32_t value);
  void (*returnString)(void* call, int i, const char* text);
  void (*returnBytes)(void* call, int i, const char* bytes, size_t length);
  void (*returnNothing)(void* call);
  void (*beginArray)(void* call);
  void (*setArrayElement)(void* call, int i);
  void (*appendArrayElement)(void* call);
  void (*fail)(void* call);  // fatal: stop the engine
  // The four words.
  int intType;
  int stringType;
  void* vm;
  Binding binding;
};

// The accessor set in force for the current call.
ArgAccessor& args();

// String argument i as bytes; a missing one is empty.
std::string stringArgument(void* call, int i);
// Leaves no result for the calling language; what a body without results returns.
int noResult(void* call);

// Switches to the native set (the set in force outside the script VMs).
void useNative();

// A command body: reads its arguments through args() with this call handle and returns the number
// of results it left for the calling language.
using CommandBody = int (*)(void* call);

// Runs a body for a native command line: builds the argument list from the text, switches to the
// native set for the call.
int runNative(CommandBody body, const char* arguments, int length);

}  // namespace vellum
