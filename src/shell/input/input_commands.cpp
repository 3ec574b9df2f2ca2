// getCursorPos, setCursorPos, getPushKey, setCursor and getCursor.
#include <string>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "platform/message_queue.h"
#include "shell/display/coordinate_mapping.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/custom_cursor.h"
#include "shell/input/input_replay.h"
#include "shell/shell_commands.h"

namespace vellum {

namespace {

int getCursorPosBody(void* call) {
  setCurrentCommandName("getCursorPos");
  int32_t x = 0, y = 0;
  pointerInGame(x, y);
  args().returnInt(call, 1, x);
  args().returnInt(call, 2, y);
  return 2;
}

int setCursorPosBody(void* call) {
  setCurrentCommandName("setCursorPos");
  if (settings().cursorMove != 0) moveCursorTo(args().getInt(call, 1), args().getInt(call, 2), args().getInt(call, 3), true);
  args().returnNothing(call);
  return 1;
}

int getPushKeyBody(void* call) {
  setCurrentCommandName("getPushKey");
  const int32_t key = args().getInt(call, 1) & 0xFF;
  feedReplayedInput();
  args().returnInt(call, args().count[1](call), keyHeld(key) ? -128 : 0);
  return 1;
}

int setCursorBody(void* call) {
  setCurrentCommandName("setCursor");
  size_t length = 0;
  const char* text = args().getStringLength(call, 1, &length);
  setCursorFile(std::string_view(text ? text : "", text ? length : 0));
  args().returnNothing(call);
  return 1;
}

int getCursorBody(void* call) {
  setCurrentCommandName("getCursor");
  const std::string& file = settings().cursorFile;
  args().returnBytes(call, args().count[1](call), file.data(), file.size());
  return 1;
}

}  // namespace

void provideInputCommands() {
  provideCommand("setCursor", &setCursorBody);
  provideCommand("getCursor", &getCursorBody);
  provideCommand("setCursorPos", &setCursorPosBody);
  provideCommand("getCursorPos", &getCursorPosBody);
  provideCommand("getPushKey", &getPushKeyBody);
}

}  // namespace vellum
