// The renderer's commands: draw, draw2, draw3, fresh, and the script-VM built-in SetRenderTarget2.
#include "render/renderer_commands.h"

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "render/renderer_state.h"
#include "shell/input/event_source.h"

namespace vellum {

namespace {

// Nothing on screen changes: the longest draw2 waits for input before the script runs again. One
// frame at 60 Hz: a script that watches the clock in its loop sees it as often as a drawing one
// would, and an idle game wakes no more than a display would make it.
constexpr uint32_t kIdleWaitMs = 16;

void commitPending() {
  if (renderer().callbacks.commitPending) renderer().callbacks.commitPending();
}

int drawBody(void* call) {
  commitPending();
  runFrame(0, 0, 0, 0);
  args().returnNothing(call);
  return 1;
}

int draw2Body(void* call) {
  RendererState& r = renderer();
  const bool active = r.callbacks.sceneActive && r.callbacks.sceneActive();
  if (active || r.refreshRequested) {
    commitPending();
    runFrame(0, 0, 0, 0);
  } else {
    // An unchanged frame is not presented again; the input loop sleeps until something is due.
    waitForNextInput(kIdleWaitMs);
  }
  r.refreshRequested = false;
  args().returnNothing(call);
  return 1;
}

int draw3Body(void* call) {
  commitPending();
  args().returnNothing(call);
  return 1;
}

int freshBody(void* call) {
  renderer().refreshRequested = true;
  args().returnNothing(call);
  return 1;
}

int setRenderTarget2Body(void* call) {
  args().returnInt(call, 0, setRenderTarget2(args().getInt(call, 1), args().getInt(call, 2)));
  return 1;
}

}  // namespace

void provideRendererCommands() {
  provideCommand("draw", &drawBody);
  provideCommand("draw2", &draw2Body);
  provideCommand("draw3", &draw3Body);
  provideCommand("fresh", &freshBody);
  provideCommand("SetRenderTarget2", &setRenderTarget2Body);
}

}  // namespace vellum
