// The screen size for plug-ins, from the display geometry.
#include <vellum/exports.h>

#include "shell/display/screen_geometry.h"

extern "C" int getScreenWidth(void) { return vellum::screenGeometry().renderW; }

extern "C" int getScreenHeight(void) {
  const vellum::ScreenGeometry& g = vellum::screenGeometry();
  return vellum::screenHeightForWidth(g.gameW, g.gameH, g.renderW);
}
