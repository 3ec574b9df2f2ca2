#include "shell/display/screen_setup.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "platform/main_window.h"
#include "shell/display/display_mode.h"
#include "shell/renderer_seam.h"
#include "shell/screen_side_work.h"
#include "shell/report_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/shell_hooks.h"
#include "shell/display/shell_window_state.h"
#include "shell/display/window_creation.h"

namespace vellum {

namespace {

// The system's wheel scroll lines; Linux desktops scroll three lines a notch.
constexpr int32_t kWheelScrollLines = 3;

int64_t totalPhysicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? static_cast<int64_t>(pages) * pageSize : 0;
}

// An empty UserDataDirectory, or the game folder itself, needs nothing made.
bool makeReportFolder() {
  const EngineState& e = engine();
  if (e.userDataDirectory.empty() || e.userDataDirectory == e.exeDirectory) return true;
  std::error_code ec;
  std::filesystem::create_directories(e.userDataDirectory, ec);
  return std::filesystem::is_directory(e.userDataDirectory, ec);
}

}  // namespace

bool setUpScreen(int32_t gameW, int32_t gameH, int32_t refW, int32_t flags) {
  ShellWindowState& w = shellWindow();
  EngineSettings& s = settings();
  // 1-5: the window, dropped files (always accepted), the wheel, the system-menu items.
  if (!createShellWindow()) return false;
  w.wheelThreshold = 120 / kWheelScrollLines;
  extendSystemMenu();
  w.menuAttached = s.windowMenu != 0 && s.menuLock1 != 0;
  // 6. The picture cache's size from the machine's memory.
  if (s.cacheAutoSize) s.cacheMaxSize = defaultImageCacheSize(totalPhysicalMemory(), s.cacheMaxSize);
  // 7. Information.txt starts afresh with the machine's description.
  writeMachineReport();
  // 8-9. Render width, the aspect switch, the presets.
  if (s.resolution == 0) s.resolution = gameW;
  const int32_t aspectSwitchable = aspectSwitchableForFlags(flags);
  screenGeometry().aspectSwitchable = aspectSwitchable;
  rebuildWindowPresets(gameW, gameH, aspectSwitchable);
  // 10. The start-up settings dialog.
  if (s.startingSetUp && !(flags & kSetUpNoDialog)) runStartupSettingsDialog(gameW, gameH, refW, flags & kSetUpDialogFlag);
  // 11-12. The window size follows the render width and the aspect.
  if (s.resolutionWindow) s.windowWidth = s.resolution;
  s.windowHeight = windowHeightForWidth(s.windowWidth, gameW, gameH, s.screenAspect);
  if (flags & kSetUpFixedWindow) {
    s.windowChange = 1;
    w.menuAttached = false;
    s.menuLock1 = 0;
    s.windowMenu = 0;
  }
  // 13. The report lives in the save data folder.
  if (!makeReportFolder()) return false;
  // 14. The dialog was closed to quit.
  if (engine().quitFlag) {
    appendSettingsToReport();
    return false;
  }
  // 15. Geometry, client size, frame extents and monitor.
  w.setUpGameW = gameW;
  w.setUpGameH = gameH;
  w.setUpRefW = refW;
  setReferenceRatios(gameW, refW);
  setUpGeometry(gameW, gameH, aspectSwitchable);
  updateFrameExtents();
  rendererScreenSizeChanged();
  appendGeometryToReport(w.title, screenGeometry());
  return true;
}

void runScreenCommand(int32_t gameW, int32_t gameH, int32_t refW, int32_t flags) {
  if (!setUpScreen(gameW, gameH, refW, flags)) {
    engine().quitFlag = 1;
    return;
  }
  // The first pictures decode while the device is made and the first frame is shown.
  startScreenSideWork();
  if (!createRendererForWindow(mainWindowHandle())) {
    finishScreenSideWork();
    engine().quitFlag = 1;
    return;
  }
  applyDisplayMode(true, true, false);
  finishScreenSideWork();
  shellWindow().screenReady = true;
}

}  // namespace vellum
