// The embedded Lua 5.2 VM: created on first use with the standard libraries, the double-byte
// string additions, the built-ins and every engine command as globals. After an error the VM is
// closed; the next loadLua or script-function call creates a fresh one.
#pragma once

#include <lua.hpp>

#include <string>

#include "base/report.h"

namespace vellum {

// The VM, or nullptr before the first use (or after an error closed it).
lua_State* luaVM();
// The VM, created when there is none.
lua_State* ensureLuaVM();
// Closes the VM now (shutdown) or, when a Lua call is running, as soon as it returns.
void closeLuaVM();
void resetLua();

// Switches the argument accessor to the Lua set for this state.
void useLua(lua_State* state);

// The text errorc reports for a message raised while Lua code runs: the command, the message,
// then one "\n\tsource:line: name" line per stack level.
ReportText luaContext(const ReportText& message);

// Runs a Lua source file of the game (the loadLua body).
int loadLuaBody(void* call);
// funcLua: makes a command that calls a Lua global.
void funcLuaCommand(const char* arguments, int length);

}  // namespace vellum
