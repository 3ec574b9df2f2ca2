#include "commands/command_providers.h"

#include "render/renderer_commands.h"
#include "scene/sprite_commands.h"

namespace vellum {

void provideAllCommands() {
  static const bool provided = [] {
    provideDiagnosticsCommands();
    provideVariableCommands();
    provideControlFlowCommands();
    provideBindingCommands();
    provideSettingsCommands();
    provideBuiltinFunctions();
    provideRendererCommands();
    provideGeometryCommands();
    provideWindowCommands();
    provideInputCommands();
    provideSpriteCommands();
    provideScreenShotCommands();
    return true;
  }();
  (void)provided;
}

}  // namespace vellum
