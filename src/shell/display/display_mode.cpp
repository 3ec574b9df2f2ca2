#include "shell/display/display_mode.h"

#include "base/report.h"
#include "persist/engine_settings.h"
#include "platform/main_window.h"
#include "shell/display/other_windows.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/shell_hooks.h"
#include "shell/display/shell_window_state.h"

namespace vellum {

namespace {

void applyFullScreen(bool keepDevice) {
  EngineSettings& s = settings();
  if (s.fullMode == 0) {
    // The 800x600 display change; a display without the mode is reported and the window covers
    // the monitor at its own size instead.
    saveOtherWindowPlacements();
    if (!monitorOffers800x600()) {
      showErrorBox(ReportText().ascii("ChangeDisplaySettings TEST"));
      showFullScreen(false);
    } else if (!showFullScreen(true)) {
      showErrorBox(ReportText().ascii("ChangeDisplaySettings FULLSCREEN"));
    }
    updateMonitorFromWindow();
    refitOtherWindowPlacements();
  } else {
    showFullScreen(false);
    restoreOtherWindowPlacements();
    updateMonitorFromWindow();
  }
  // The menu bar detaches; the popup is what full screen shows.
  shellWindow().menuAttached = false;
  hidePopupMenu();
  setTopmost(s.windowMost != 0);
  resetRenderer(keepDevice);
}

void applyWindowed(bool keepDevice, bool centre, bool restyle) {
  EngineSettings& s = settings();
  ShellWindowState& w = shellWindow();
  const ScreenGeometry& g = screenGeometry();
  const bool leaving800x600 = s.fullMode == 0 && mainWindowFullScreen();
  w.menuAttached = s.windowMenu != 0 && s.menuLock1 != 0;
  if (w.menuAttached) buildFrameMenu();
  const bool maximised = mainWindowMaximized();
  int32_t x = s.clientLeft, y = s.clientTop;
  if (centre && s.windowPos == 0) {
    x = g.monLeft + ((g.monW - g.outerW) >> 1);
    y = g.monTop + ((g.monH - g.outerH) >> 1);
  } else if (maximised) {
    x = g.monLeft + ((g.monW - g.outerW) >> 1);
    y = g.monTop;
  }
  (void)restyle;  // the window manager redraws the frame whenever the style changes
  // The stored position is the outer frame's; the window system places the client area.
  const FrameBorders borders = mainWindowBorders();
  showWindowed(x + borders.left, y + borders.top, s.windowWidth, s.windowHeight, s.windowChange == 0);
  // Leaving the 800x600 change gives the monitor its size and the other windows their places back.
  if (leaving800x600) {
    restoreOtherWindowPlacements();
    updateMonitorFromWindow();
  }
  setTopmost(s.windowMost != 0);
  if (!(centre && s.windowPos == 0) && !maximised) {
    s.clientLeft = x;
    s.clientTop = y;
  }
  resetRenderer(keepDevice);
}

}  // namespace

void updateMonitorFromWindow() {
  const DisplayArea area = mainMonitor();
  MonitorInfo monitor;
  monitor.left = area.left;
  monitor.top = area.top;
  monitor.width = area.width;
  monitor.height = area.height;
  monitor.refreshRate = area.refreshRate;
  updateMonitorGeometry(monitor);
}

void updateFrameExtents() {
  const FrameBorders b = mainWindowBorders();
  FrameMetrics m;
  m.fixedX = m.sizingX = b.left;
  m.fixedY = m.sizingY = b.bottom;
  m.captionHeight = b.top > b.bottom ? b.top - b.bottom : 0;
  m.menuHeight = 0;  // the menu bar is drawn inside the client area
  applyFrameExtents(computeFrameExtents(m, settings().windowChange, shellWindow().menuAttached));
  updateMonitorFromWindow();
}

void applyDisplayMode(bool keepDevice, bool centre, bool restyle) {
  if (!mainWindowExists()) return;
  if (settings().fullScreen) {
    applyFullScreen(keepDevice);
  } else {
    applyWindowed(keepDevice, centre, restyle);
  }
}

void toggleFullScreen() {
  ShellWindowState& w = shellWindow();
  if (w.transitionRunning) return;
  EngineSettings& s = settings();
  s.fullScreen = s.fullScreen ? 0 : 1;
  applyDisplayMode(s.fullMode == 1, true, false);
  ++w.fullScreenChanged;
}

void setFullScreenFlag(int32_t on) {
  EngineSettings& s = settings();
  const int32_t wanted = on != 0;
  if (wanted == s.fullScreen) return;
  s.fullScreen = wanted;
  applyDisplayMode(s.fullMode == 1, true, false);
}

void setFullScreenMode(int32_t mode) {
  EngineSettings& s = settings();
  if (mode < 0 || mode > 4 || mode == s.fullMode) return;
  s.fullMode = mode;
  if (s.fullScreen) {
    applyDisplayMode(false, false, false);
  } else if (shellWindow().menuAttached) {
    buildFrameMenu();
  }
}

void setWindowPreset(int32_t index) {
  if (index < 0 || index >= kWindowPresets) return;
  const WindowPreset& preset = screenGeometry().presets[static_cast<size_t>(index)];
  setClientSize(preset.width, preset.height);
  updateMonitorFromWindow();
  if (!settings().fullScreen) applyDisplayMode(true, true, false);
}

void setScreenAspectValue(int32_t value) {
  EngineSettings& s = settings();
  ShellWindowState& w = shellWindow();
  value = value != 0;
  if (value == s.screenAspect) return;
  ++w.aspectChanged;
  s.screenAspect = value;
  if (mainWindowMaximized()) {
    s.windowWidth = value == 0 ? s.windowHeight * 16 / 9 : s.windowHeight * 4 / 3;
  } else {
    s.windowHeight = value == 0 ? s.windowWidth * 9 / 16 : s.windowWidth * 3 / 4;
  }
  const int32_t gameW = w.setUpGameW;
  const int32_t h = value == 0 ? gameW * 9 / 16 : gameW * 3 / 4;
  setUpGeometry(gameW, h, 0);
  updateFrameExtents();
  rendererScreenSizeChanged();
  applyDisplayMode(s.interpolation == 0, false, false);
  if (!s.fullScreen && w.menuAttached) buildFrameMenu();
}

}  // namespace vellum
