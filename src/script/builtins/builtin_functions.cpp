#include "script/builtins/builtin_functions.h"
#include "script/builtins/builtin_families.h"

namespace vellum {

void provideBuiltinFunctions() {
  provideStringFunctions();
  provideKanaFunction();
  provideRegexpFunctions();
  providePathFunctions();
  provideFileFunctions();
  provideTextListFunctions();
  provideFileListFunctions();
  provideDateFunctions();
  provideRandomFunction();
  provideTimingFunctions();
  provideProcessFunctions();
  providePluginLibraryFunctions();
}

}  // namespace vellum
