// PluginLibraries: the libraries scripts loaded with loadLibrary, with the two hooks the renderer
// calls around a device reset.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

using DeviceHook = void (*)();

struct PluginLibrary {
  void* handle = nullptr;
  std::string path;                  // as the script wrote it
  DeviceHook deviceReset = nullptr;  // the library's DeviceReset, if it has one
  DeviceHook deviceLost = nullptr;   // its DeviceLost
};

std::vector<PluginLibrary>& pluginLibraries();

// Loads the library and keeps a record. A relative path is looked for in the game folder, then in
// its plugin/ folder; a name ending in ".dll" is also tried with ".so" in its place. Reports the
// path and " 不能读入" when nothing loads.
bool loadPluginLibrary(std::string_view path);

// Unloads the first library loaded under exactly this path. Reports the path and
// " は読み込まれていないので解放出来ませんでした" when there is none.
bool freePluginLibrary(std::string_view path);

// For the renderer: DeviceLost of every library before a device reset, DeviceReset after it.
void notifyDeviceLost();
void notifyDeviceReset();

// Unloads everything (shutdown, tests).
void freeAllPluginLibraries();

}  // namespace vellum
