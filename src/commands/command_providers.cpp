#include "commands/command_providers.h"

namespace vellum {

void provideAllCommands() {
  static const bool provided = [] {
    provideDiagnosticsCommands();
    provideVariableCommands();
    provideControlFlowCommands();
    provideBuiltinFunctions();
    return true;
  }();
  (void)provided;
}

}  // namespace vellum
