// The commands that hand work to the script VMs, and the VM built-ins for script variables.
#include "commands/binding_commands.h"
#include "script/command_registry.h"
#include "commands/lua/lua_binding.h"
#include "commands/squirrel/squirrel_binding.h"
#include "script/variable_commands.h"

namespace vellum {

void provideBindingCommands() {
  provideCommand("funcLua", &funcLuaCommand);
  provideCommand("loadLua", &loadLuaBody);
  provideCommand("funcSqu", &funcSquCommand);
  provideCommand("loadSqu", &loadSquBody);
  provideCommand("setScriptInteger", &setScriptIntegerBody);
  provideCommand("getScriptInteger", &getScriptIntegerBody);
  provideCommand("setScriptString", &setScriptStringBody);
  provideCommand("getScriptString", &getScriptStringBody);
  provideCommand("newScriptInteger", &newScriptIntegerBody);
  provideCommand("newScriptString", &newScriptStringBody);
}

}  // namespace vellum
