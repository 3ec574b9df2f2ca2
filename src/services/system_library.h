// System libraries the engine opens itself when a feature first needs them, instead of naming them
// to the loader (see base/libraries_opened_on_first_use.h). A library opened here is never closed:
// what it made may live until exit.
#pragma once

#include <string>

namespace vellum {

// The library named `name`, or null with the loader's reason in `problem`.
void* openSystemLibrary(const std::string& name, std::string& problem);

// The address of `symbol` in an opened library, or null.
void* systemLibrarySymbol(void* library, const char* symbol);

// Fills `slot` with the function `symbol` of an opened library. When it is missing, the first
// missing name is kept in `missing` and false is returned.
template <typename Function>
bool findSystemLibraryFunction(void* library, const char* symbol, Function& slot, std::string& missing) {
  slot = reinterpret_cast<Function>(systemLibrarySymbol(library, symbol));
  if (!slot && missing.empty()) missing = symbol;
  return slot != nullptr;
}

}  // namespace vellum
