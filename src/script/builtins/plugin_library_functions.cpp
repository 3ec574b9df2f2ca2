// loadLibrary and freeLibrary.
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/plugin_libraries.h"

namespace vellum {

namespace {

int loadLibraryBody(void* call) {
  loadPluginLibrary(stringArgument(call, 1));
  args().returnNothing(call);
  return 1;
}

int freeLibraryBody(void* call) {
  freePluginLibrary(stringArgument(call, 1));
  args().returnNothing(call);
  return 1;
}

}  // namespace

void providePluginLibraryFunctions() {
  provideCommand("loadLibrary", &loadLibraryBody);
  provideCommand("freeLibrary", &freeLibraryBody);
}

}  // namespace vellum
