#include "shell/shell_lifecycle.h"

#include "platform/quit_signals.h"
#include "platform/system_cursor.h"
#include "platform/ui_overlay.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/event_source.h"
#include "shell/services/find_request.h"
#include "shell/ui/in_window_ui.h"
#include "shell/input/input_replay.h"
#include "shell/input/input_state.h"
#include "shell/input/message_pumps.h"
#include "shell/input/pad_translation.h"
#include "shell/renderer_seam.h"
#include "shell/display/shell_window_state.h"
#include "shell/services/speech_service.h"

namespace vellum {

void resetShell() {
  clearCustomCursor();
  resetShellWindow();
  resetInputState();
  resetCursorGlide();
  resetMessagePumps();
  resetInputReplay();
  resetPadInput();
  resetFindRequest();
  resetInWindowUi();
  setAutoAdvanceDeadline(0);
  clearQuitRequest();
  resetSpeech();
}

void closeShell() {
  releaseRenderer();
  // The renderer's context took the interface's graphics with it; the rest goes now.
  ui::shutdown();
  clearCustomCursor();
  resetShellWindow();
  closeSpeech();
}

}  // namespace vellum
