// Plug-in access to the script VMs and to the name of the running command.
#include <vellum/exports.h>

#include "commands/lua/lua_binding.h"
#include "base/engine_state.h"

extern "C" void getVMLua(lua_State** state) {
  if (state) *state = vellum::luaVM();
}

extern "C" void getErrorCmd(char** name) {
  if (name) *name = vellum::engine().currentCommandName;
}
