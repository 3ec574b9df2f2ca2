// Opening plug-in libraries. On the desktop a plug-in is a shared object opened with dlopen. Where
// there is no dynamic loading (the web) plug-ins are linked into the program instead: each one
// registers its name and entry points at start-up, and opening one finds it by file name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vellum {

// A plug-in linked into the program.
struct LinkedPlugin {
  struct Entry {
    const char* name;  // as the library would export it: "DeviceReset", "DeviceLost", ...
    void* address;
  };
  std::string fileName;          // the file a game loads it by ("effects.so"); any case, any folder
  void (*onLoad)() = nullptr;    // what the library's constructors would do when it is opened
  std::vector<Entry> entries;
};

// Adds a linked-in plug-in (at start-up, before a script runs).
void registerLinkedPlugin(LinkedPlugin plugin);
// The names of the linked-in plug-ins, for reports.
std::vector<std::string> linkedPluginNames();

// How plug-ins are opened: dlopen on the desktop, the linked-in table where there is no dlopen.
struct PluginOpener {
  // The library at a file-system path, or null when it cannot be opened; `problem` then says why
  // where the game's own report would not (empty from dlopen).
  void* (*open)(const std::string& path, std::string& problem);
  // An entry point of an opened library, or null.
  void* (*entry)(void* library, const char* name);
  void (*close)(void* library);
};
PluginOpener dynamicPluginOpener();
PluginOpener linkedPluginOpener();

// The opener in use: this platform's own unless a test chose another. Returns the previous one.
const PluginOpener& pluginOpener();
PluginOpener setPluginOpener(PluginOpener opener);

// Forgets the registered plug-ins and restores this platform's opener (tests).
void resetPluginLoader();

}  // namespace vellum
