#include "commands/command_registry.h"

#include "storage/hashes.h"

namespace vellum {

namespace {
CommandTables tables;
}

CommandTables& commandTables() { return tables; }

void resetCommandTables() { tables = CommandTables{}; }

void registerCommand(std::string_view name, NativeHandler handler) { tables.registry[crc32Of(name)] = handler; }

void registerAllCommands() {
  // Command families register themselves here as they are added to the engine.
}

}  // namespace vellum
