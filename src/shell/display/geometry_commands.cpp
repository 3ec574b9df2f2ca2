// The script commands that read the display geometry.
#include "script/arg_accessor.h"
#include "shell/shell_commands.h"
#include "script/command_registry.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

// The result goes to the position after the arguments.
int returnInt(void* call, int32_t value) {
  args().returnInt(call, args().count[1](call), value);
  return 1;
}

int getScreenRateBody(void* call) { return returnInt(call, screenRate(screenGeometry().scale)); }

int getScreenWidthBody(void* call) { return returnInt(call, screenGeometry().renderW); }

int getScreenHeightBody(void* call) {
  const ScreenGeometry& g = screenGeometry();
  return returnInt(call, screenHeightForWidth(g.gameW, g.gameH, g.renderW));
}

int getScreenAspect2Body(void* call) { return returnInt(call, screenGeometry().aspectSwitchable); }

}  // namespace

void provideGeometryCommands() {
  provideCommand("getScreenRate", &getScreenRateBody);
  provideCommand("getScreenWidth", &getScreenWidthBody);
  provideCommand("getScreenHeight", &getScreenHeightBody);
  provideCommand("getScreenAspect2", &getScreenAspect2Body);
}

}  // namespace vellum
