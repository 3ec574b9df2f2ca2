// The families of built-in script functions. Each hands its commands to the registry; the one
// provider the command layer calls runs them all.
#pragma once

namespace vellum {

void provideStringFunctions();
void provideKanaFunction();
void provideRegexpFunctions();
void providePathFunctions();
void provideFileFunctions();
void provideTextListFunctions();
void provideFileListFunctions();
void provideDateFunctions();
void provideRandomFunction();
void provideTimingFunctions();
void provideProcessFunctions();
void providePluginLibraryFunctions();

}  // namespace vellum
