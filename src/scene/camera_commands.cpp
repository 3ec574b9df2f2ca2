// The screen quake (sc_qx, sc_qy) and the camera (sc_x, sc_y, sc_xy, sc_w, sc_h, sc_wh).
#include <utility>

#include "base/clock.h"
#include "base/engine_state.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "scene/animation_commands.h"
#include "scene/screen_transform.h"

namespace vellum {

namespace {

int32_t intArg(void* call, int i) { return args().getInt(call, i); }

// sc_qx / sc_qy target mask, amplitude, period, count, easing, type, delay.
int quakeBody(void* call, const char* name, bool yAxis) {
  setCurrentCommandName(name);
  const ShakeRequest r{intArg(call, 2), intArg(call, 3), intArg(call, 4), intArg(call, 5), intArg(call, 6),
                       intArg(call, 7)};
  quakeScreen(yAxis, static_cast<uint32_t>(intArg(call, 1)), r, tickMilliseconds());
  args().returnNothing(call);
  return 1;
}
int scQxBody(void* c) { return quakeBody(c, "sc_qx", false); }
int scQyBody(void* c) { return quakeBody(c, "sc_qy", true); }

// The values come first, then time, easing and delay shared by both.
int cameraBody(void* call, const char* name, CameraValueKind first, int count) {
  setCurrentCommandName(name);
  const int tail = 1 + count;
  const uint32_t now = tickMilliseconds();
  for (int i = 0; i < count; ++i)
    moveCamera(static_cast<CameraValueKind>(first + i), args().getFloat(call, 1 + i), intArg(call, tail),
               intArg(call, tail + 1), intArg(call, tail + 2), now);
  args().returnNothing(call);
  return 1;
}
int scXBody(void* c) { return cameraBody(c, "sc_x", kCameraX, 1); }
int scYBody(void* c) { return cameraBody(c, "sc_y", kCameraY, 1); }
int scXyBody(void* c) { return cameraBody(c, "sc_xy", kCameraX, 2); }
int scWBody(void* c) { return cameraBody(c, "sc_w", kCameraW, 1); }
int scHBody(void* c) { return cameraBody(c, "sc_h", kCameraH, 1); }
int scWhBody(void* c) { return cameraBody(c, "sc_wh", kCameraW, 2); }

}  // namespace

void provideScreenTransformCommands() {
  const std::pair<const char*, int (*)(void*)> commands[] = {
      {"sc_qx", &scQxBody}, {"sc_qy", &scQyBody}, {"sc_x", &scXBody}, {"sc_y", &scYBody},
      {"sc_xy", &scXyBody}, {"sc_w", &scWBody},   {"sc_h", &scHBody}, {"sc_wh", &scWhBody},
  };
  for (const auto& [name, body] : commands) provideCommand(name, body);
}

}  // namespace vellum
