#include "script/builtins/plugin_libraries.h"

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "platform/plugin_loader.h"
#include "script/builtins/builtin_messages.h"
#include "script/builtins/script_paths.h"

namespace vellum {

namespace {

bool endsWithDll(std::string_view path) {
  if (path.size() < 4) return false;
  std::string tail(path.substr(path.size() - 4));
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
  return tail == ".dll";
}

// Every file-system name the path may stand for, in the order they are tried.
std::vector<std::string> candidates(std::string_view path) {
  std::vector<std::string> names{std::string(path)};
  if (endsWithDll(path)) names.push_back(std::string(path.substr(0, path.size() - 4)) + ".so");
  std::vector<std::string> out;
  for (const std::string& name : names) out.push_back(scriptPathToFileSystem(name));
  if (!isAbsoluteScriptPath(path)) {
    for (const std::string& name : names) out.push_back(engine().exeDirectory + "plugin/" + gamePathToFileSystem(name));
  }
  return out;
}

DeviceHook hook(void* handle, const char* name) {
  return reinterpret_cast<DeviceHook>(pluginOpener().entry(handle, name));
}

}  // namespace

std::vector<PluginLibrary>& pluginLibraries() {
  static std::vector<PluginLibrary> libraries;
  return libraries;
}

bool loadPluginLibrary(std::string_view path) {
  void* handle = nullptr;
  std::string problem;
  if (!path.empty()) {
    for (const std::string& name : candidates(path)) {
      handle = pluginOpener().open(name, problem);
      if (handle) break;
    }
  }
  if (!handle) {
    ReportText report = ReportText().gbk(path).gbk(messages::kLibraryLoadFailed);
    if (!problem.empty()) report.ascii(": " + problem);
    errorc(report, true);
    return false;
  }
  pluginLibraries().push_back({handle, std::string(path), hook(handle, "DeviceReset"), hook(handle, "DeviceLost")});
  return true;
}

bool freePluginLibrary(std::string_view path) {
  auto& libraries = pluginLibraries();
  for (auto it = libraries.begin(); it != libraries.end(); ++it) {
    if (it->path != path) continue;
    pluginOpener().close(it->handle);
    libraries.erase(it);
    return true;
  }
  errorc(ReportText().gbk(path).sjis(messages::kLibraryNotLoaded), true);
  return false;
}

void notifyDeviceLost() {
  for (const PluginLibrary& library : pluginLibraries()) {
    if (library.deviceLost) library.deviceLost();
  }
}

void notifyDeviceReset() {
  for (const PluginLibrary& library : pluginLibraries()) {
    if (library.deviceReset) library.deviceReset();
  }
}

void freeAllPluginLibraries() {
  for (const PluginLibrary& library : pluginLibraries()) pluginOpener().close(library.handle);
  pluginLibraries().clear();
}

}  // namespace vellum
