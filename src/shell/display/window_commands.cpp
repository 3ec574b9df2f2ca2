// screen, setWindowText and the display commands.
#include <string>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "platform/main_window.h"
#include "shell/display/display_mode.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/display/screen_setup.h"
#include "shell/shell_commands.h"
#include "shell/display/shell_window_state.h"
#include "shell/display/window_creation.h"

namespace vellum {

namespace {

int result(void* call, int32_t value) {
  args().returnInt(call, args().count[1](call), value);
  return 1;
}

int resultText(void* call, const std::string& text) {
  args().returnBytes(call, args().count[1](call), text.data(), text.size());
  return 1;
}

int screenBody(void* call) {
  setCurrentCommandName("screen");
  runScreenCommand(args().getInt(call, 1), args().getInt(call, 2), args().getInt(call, 3), args().getInt(call, 4));
  return noResult(call);
}

int setWindowTextBody(void* call) {
  setCurrentCommandName("setWindowText");
  const std::string text = stringArgument(call, 1);
  ShellWindowState& w = shellWindow();
  if (w.windowCreated) {
    // The caption changes; the identity the window was made with stays.
    const std::string identity = w.title;
    w.title = text;
    applyWindowTitle();
    w.title = identity;
  } else {
    w.title = text;
    if (!createShellWindow()) engine().quitFlag = 1;
  }
  return noResult(call);
}

int setWallPaperBody(void* call) {
  setCurrentCommandName("setWallPaper");
  settings().wallPaper = stringArgument(call, 1);
  // The renderer paints the letterbox bars of modes 2 and 3 from the setting on its next frame.
  return noResult(call);
}

int getWallPaperBody(void* call) {
  setCurrentCommandName("getWallPaper");
  return resultText(call, settings().wallPaper);
}

int setMultiSampleBody(void* call) {
  setCurrentCommandName("setMultiSample");
  applyMultiSample(args().getInt(call, 1));
  return noResult(call);
}

int getMultiSampleBody(void* call) {
  setCurrentCommandName("getMultiSample");
  return result(call, multiSampleInUse());
}

int setFullScreenBody(void* call) {
  setCurrentCommandName("setFullScreen");
  setFullScreenFlag(args().getInt(call, 1));
  return noResult(call);
}

int getFullScreenBody(void* call) {
  setCurrentCommandName("getFullScreen");
  return result(call, settings().fullScreen);
}

int setScreenAspectBody(void* call) {
  setCurrentCommandName("setScreenAspect");
  setScreenAspectValue(args().getInt(call, 1));
  return noResult(call);
}

int getScreenAspectBody(void* call) {
  setCurrentCommandName("getScreenAspect");
  return result(call, settings().screenAspect);
}

}  // namespace

void provideWindowCommands() {
  provideCommand("screen", &screenBody);
  provideCommand("setWindowText", &setWindowTextBody);
  provideCommand("setWallPaper", &setWallPaperBody);
  provideCommand("getWallPaper", &getWallPaperBody);
  provideCommand("setMultiSample", &setMultiSampleBody);
  provideCommand("getMultiSample", &getMultiSampleBody);
  provideCommand("setFullScreen", &setFullScreenBody);
  provideCommand("getFullScreen", &getFullScreenBody);
  provideCommand("setScreenAspect", &setScreenAspectBody);
  provideCommand("getScreenAspect", &getScreenAspectBody);
}

}  // namespace vellum
