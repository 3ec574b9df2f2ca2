#include "shell/display/shell_window_state.h"

#include "persist/engine_settings.h"
#include "platform/instance_lock.h"
#include "platform/main_window.h"
#include "platform/message_queue.h"

namespace vellum {

namespace {
ShellWindowState state;
}  // namespace

ShellWindowState& shellWindow() { return state; }

void resetShellWindow() {
  destroyMainWindow();
  releaseInstanceLock();
  resetMessageQueue();
  state = ShellWindowState{};
}

bool windowActive() { return (settings().systemActive & kSystemActiveFocus) != 0; }

}  // namespace vellum
