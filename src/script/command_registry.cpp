#include "script/command_registry.h"

#include "script/command_catalogue.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

CommandTables tables;
// Starts above 0, the count a fresh line cache holds, so its first look-up always happens.
uint64_t changes = 1;
// Filled by the engine while the program starts: runs every family's provider once.
void (*commandProviders)() = nullptr;

void provideAllFamilies() {
  if (commandProviders) commandProviders();
}

std::unordered_map<std::string, CommandEntry>& providedBodies() {
  static std::unordered_map<std::string, CommandEntry> bodies;
  return bodies;
}

std::unordered_map<std::string, CommandBody>& vmBodies() {
  static std::unordered_map<std::string, CommandBody> bodies;
  return bodies;
}

void registerProvided(std::string_view name) {
  const CommandEntry entry = providedCommand(name);
  if (entry.empty()) return;
  tables.registry[crc32Of(name)] = entry;
  ++changes;
}

}  // namespace

void CommandEntry::invoke(const char* arguments, int length) const {
  if (native) {
    native(arguments, length);
  } else if (body) {
    runNative(body, arguments, length);
  }
}

CommandTables& commandTables() { return tables; }

void setCommandProviders(void (*provideAll)()) { commandProviders = provideAll; }

void resetCommandTables() {
  tables = CommandTables{};
  ++changes;
}

uint64_t registryChanges() { return changes; }

void registerCommand(std::string_view name, NativeHandler handler) {
  tables.registry[crc32Of(name)] = {handler, nullptr};
  ++changes;
}

void registerCommand(std::string_view name, CommandBody body) {
  tables.registry[crc32Of(name)] = {nullptr, body};
  ++changes;
}

void provideCommand(std::string_view name, NativeHandler handler) { providedBodies()[std::string(name)] = {handler, nullptr}; }

void provideCommand(std::string_view name, CommandBody body) { providedBodies()[std::string(name)] = {nullptr, body}; }

std::vector<std::string> providedCommandNames() {
  provideAllFamilies();
  std::vector<std::string> names;
  for (const auto& [name, entry] : providedBodies()) names.push_back(name);
  return names;
}

CommandEntry providedCommand(std::string_view name) {
  provideAllFamilies();
  auto found = providedBodies().find(std::string(name));
  return found == providedBodies().end() ? CommandEntry{} : found->second;
}

void provideVmBody(std::string_view name, CommandBody body) { vmBodies()[std::string(name)] = body; }

CommandBody scriptVmBody(std::string_view name) {
  provideAllFamilies();
  auto found = vmBodies().find(std::string(name));
  return found != vmBodies().end() ? found->second : providedCommand(name).body;
}

void forEachVmCommand(const std::function<void(std::string_view name, CommandBody body)>& visit) {
  auto offer = [&visit](std::string_view name) {
    if (const CommandBody body = scriptVmBody(name)) visit(name, body);
  };
  for (std::string_view name : vmBuiltinNames()) offer(name);
  for (const CommandFamily& family : engineCommandFamilies()) {
    for (std::string_view name : family.names) {
      if (!isNativeOnly(name)) offer(name);
    }
  }
}

void registerAllCommands() {
  for (std::string_view name : nativeBuiltinNames()) registerProvided(name);
  for (const CommandFamily& family : engineCommandFamilies()) {
    for (std::string_view name : family.names) registerProvided(name);
  }
}

}  // namespace vellum
