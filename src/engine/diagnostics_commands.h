// print, error, end and console: the script's own ways to report and to stop.
#pragma once

namespace vellum {

int printBody(void* call);
int errorBody(void* call);
int endBody(void* call);
int consoleBody(void* call);

void provideDiagnosticsCommands();

}  // namespace vellum
