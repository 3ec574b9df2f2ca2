#include "commands/command_providers.h"

namespace vellum {

void provideAllCommands() {
  static const bool provided = [] {
    provideDiagnosticsCommands();
    provideVariableCommands();
    provideControlFlowCommands();
    provideBindingCommands();
    provideSettingsCommands();
    provideBuiltinFunctions();
    provideGeometryCommands();
    provideWindowCommands();
    provideInputCommands();
    return true;
  }();
  (void)provided;
}

}  // namespace vellum
