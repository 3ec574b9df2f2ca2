#include "commands/command_registry.h"

#include "core/diagnostics_commands.h"
#include "persist/settings_commands.h"
#include "script/control_commands.h"
#include "script/variable_commands.h"
#include "storage/hashes.h"

namespace vellum {

namespace {
CommandTables tables;
}

CommandTables& commandTables() { return tables; }

void resetCommandTables() { tables = CommandTables{}; }

void registerCommand(std::string_view name, NativeHandler handler) { tables.registry[crc32Of(name)] = handler; }

void registerAllCommands() {
  // The built-ins first, in their order; engine commands after them replace a built-in of the same
  // name. Families that do not exist yet join here when they land.
  registerDiagnosticsBuiltins(0);
  registerDiagnosticsBuiltins(1);
  registerVariableBuiltins();
  registerControlFlowBuiltins();
  registerControlFlowCommands();
  registerSettingsCommands();
}

}  // namespace vellum
