#include "services/system_library.h"

#include <dlfcn.h>

namespace vellum {

void* openSystemLibrary(const std::string& name, std::string& problem) {
  void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    problem = why ? why : name + " cannot be opened";
  }
  return library;
}

void* systemLibrarySymbol(void* library, const char* symbol) { return dlsym(library, symbol); }

}  // namespace vellum
