#include "engine/command_providers.h"

#include "commands/binding_commands.h"
#include "script/command_registry.h"
#include "engine/diagnostics_commands.h"
#include "engine/rollback.h"
#include "engine/save_commands.h"
#include "movie/frame_sequences.h"
#include "movie/theora_library.h"
#include "persist/settings_commands.h"
#include "render/renderer_commands.h"
#include "scene/animation_commands.h"
#include "scene/button_commands.h"
#include "scene/effect_commands.h"
#include "scene/lookahead.h"
#include "scene/sprite_commands.h"
#include "script/builtins/builtin_functions.h"
#include "script/script_commands.h"
#include "shell/services/service_commands.h"
#include "shell/shell_commands.h"
#include "sound/sound_system.h"
#include "text/message_window.h"

namespace vellum {

void provideAllCommands() {
  static const bool provided = [] {
    provideDiagnosticsCommands();
    provideVariableCommands();
    provideControlFlowCommands();
    provideBindingCommands();
    provideSettingsCommands();
    provideSaveCommands();
    provideRollbackCommands();
    provideBuiltinFunctions();
    provideRendererCommands();
    provideGeometryCommands();
    provideWindowCommands();
    provideInputCommands();
    provideSpriteCommands();
    provideScreenShotCommands();
    provideLookaheadCommands();
    provideButtonCommands();
    provideAnimationCommands();
    provideScreenTransformCommands();
    provideTransitionCommands();
    provideSoundCommands();
    provideMovieCommands();
    provideFrameSequenceCommands();
    provideTextCommands();
    provideServiceCommands();
    return true;
  }();
  (void)provided;
}

namespace {
// The registry's slot is constant-initialised, so it can be filled while the program starts.
[[maybe_unused]] const bool registered = (setCommandProviders(&provideAllCommands), true);
}  // namespace

}  // namespace vellum
