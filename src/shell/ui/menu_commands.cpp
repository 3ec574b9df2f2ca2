// The menu's inputs as the engine stands, and the display operations behind its identifiers.
#include "persist/engine_settings.h"
#include "platform/main_window.h"
#include "shell/display/display_mode.h"
#include "shell/ui/menu_model.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/display/shell_window_state.h"
#include "shell/services/speech_service.h"

namespace vellum {

MenuInputs currentMenuInputs() {
  const EngineSettings& s = settings();
  const ScreenGeometry& g = screenGeometry();
  MenuInputs in;
  in.fullScreen = s.fullScreen;
  in.screenAspect = s.screenAspect;
  in.windowWidth = s.windowWidth;
  in.windowHeight = s.windowHeight;
  in.windowChange = s.windowChange;
  in.windowPos = s.windowPos;
  in.windowMost = s.windowMost;
  in.fullMode = s.fullMode;
  in.interpolation = s.interpolation;
  in.vSyncWait = s.vSyncWait;
  in.menuLock1 = s.menuLock1;
  in.aspectSwitchable = g.aspectSwitchable;
  rendererMenuFacts(in.pixelShaderMajor, in.canReadScanLine);
  in.presets = g.presets;
  in.frameW = g.frameW;
  in.frameH = g.frameH;
  in.monW = g.monW;
  in.monH = g.monH;
  in.readAloud = readingAloud();
  return in;
}

bool runMenuCommand(int32_t id) {
  EngineSettings& s = settings();
  ShellWindowState& w = shellWindow();
  if (id == kMenuWindowed || id == kMenuFullScreen) {
    if ((id == kMenuFullScreen) != (s.fullScreen != 0)) toggleFullScreen();
  } else if (id == kMenuAspect169 || id == kMenuAspect43) {
    setScreenAspectValue(id - kMenuAspect169);
  } else if (id == kMenuFixedSize) {
    s.windowChange = s.windowChange ? 0 : 1;
    updateFrameExtents();
    if (!s.fullScreen) applyDisplayMode(true, false, true);
  } else if (id >= kMenuPreset0 && id < kMenuPreset0 + kWindowPresets) {
    setWindowPreset(id - kMenuPreset0);
  } else if (id == kMenuCentre || id == kMenuKeepPosition) {
    s.windowPos = id - kMenuCentre;
  } else if (id == kMenuAlwaysOnTop) {
    s.windowMost = s.windowMost ? 0 : 1;
    setTopmost(s.windowMost != 0);
  } else if (id >= kMenuFullMode0 && id < kMenuFullMode0 + kFullModes) {
    setFullScreenMode(id - kMenuFullMode0);
  } else if (id >= kMenuInterpolation0 && id < kMenuInterpolation0 + 8) {
    s.interpolation = id - kMenuInterpolation0;
    resetRenderer(true);
  } else if (id >= kMenuVSync0 && id < kMenuVSync0 + 3) {
    s.vSyncWait = id - kMenuVSync0;
    resetRenderer(true);
  } else if (id == kMenuReadAloud) {
    toggleReadingAloud();
  } else if (id == kMenuPin) {
    if (s.fullScreen) return false;
    s.menuLock1 = s.menuLock1 ? 0 : 1;
    w.menuAttached = s.windowMenu != 0 && s.menuLock1 != 0;
    w.menuPopupState = 0;
  } else {
    return false;
  }
  return true;
}

}  // namespace vellum
