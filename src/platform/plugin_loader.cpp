#include "platform/plugin_loader.h"

#if !defined(__EMSCRIPTEN__)
#include <dlfcn.h>
#endif

#include <deque>
#include <string_view>

namespace vellum {

namespace {

#if defined(__EMSCRIPTEN__)
constexpr bool kDynamicLoading = false;
#else
constexpr bool kDynamicLoading = true;
#endif

struct LinkedRecord {
  LinkedPlugin plugin;
  bool loaded = false;  // onLoad runs once, as a shared object's constructors do
};

// A deque: opened libraries point at their records, which must not move as more are registered.
std::deque<LinkedRecord>& linkedPlugins() {
  static std::deque<LinkedRecord> plugins;
  return plugins;
}

PluginOpener& chosenOpener() {
  static PluginOpener opener = kDynamicLoading ? dynamicPluginOpener() : linkedPluginOpener();
  return opener;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void* openLinked(const std::string& path, std::string& problem) {
  const size_t slash = path.find_last_of('/');
  const std::string_view fileName = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  for (LinkedRecord& record : linkedPlugins()) {
    if (!sameNameIgnoringCase(record.plugin.fileName, fileName)) continue;
    if (!record.loaded && record.plugin.onLoad) record.plugin.onLoad();
    record.loaded = true;
    return &record;
  }
  problem = "no plug-in of this name is linked into this build";
  if (linkedPlugins().empty()) problem += " (it has none)";
  return nullptr;
}

void* linkedEntry(void* library, const char* name) {
  for (const LinkedPlugin::Entry& e : static_cast<LinkedRecord*>(library)->plugin.entries) {
    if (std::string_view(e.name) == name) return e.address;
  }
  return nullptr;
}

// A linked-in library stays in the program; closing it only forgets the handle.
void closeLinked(void*) {}

#if !defined(__EMSCRIPTEN__)
// The game's own report names the library; dlopen's reason (often about a library it needs) is
// for a developer and stays out of it.
void* openDynamic(const std::string& path, std::string&) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* dynamicEntry(void* library, const char* name) { return dlsym(library, name); }

void closeDynamic(void* library) { dlclose(library); }
#endif

}  // namespace

void registerLinkedPlugin(LinkedPlugin plugin) { linkedPlugins().push_back({std::move(plugin), false}); }

std::vector<std::string> linkedPluginNames() {
  std::vector<std::string> names;
  for (const LinkedRecord& record : linkedPlugins()) names.push_back(record.plugin.fileName);
  return names;
}

PluginOpener dynamicPluginOpener() {
#if defined(__EMSCRIPTEN__)
  return linkedPluginOpener();
#else
  return {&openDynamic, &dynamicEntry, &closeDynamic};
#endif
}

PluginOpener linkedPluginOpener() { return {&openLinked, &linkedEntry, &closeLinked}; }

const PluginOpener& pluginOpener() { return chosenOpener(); }

PluginOpener setPluginOpener(PluginOpener opener) {
  const PluginOpener previous = chosenOpener();
  chosenOpener() = opener;
  return previous;
}

void resetPluginLoader() {
  linkedPlugins().clear();
  chosenOpener() = kDynamicLoading ? dynamicPluginOpener() : linkedPluginOpener();
}

}  // namespace vellum
