// The start-up settings dialog: shown in the game's window before the screen is set up, run by
// its own loop until a button or the window's close button ends it.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "persist/persist_state.h"
#include "platform/dialog_surface.h"
#include "platform/main_window.h"
#include "platform/message_queue.h"
#include "platform/ui_overlay.h"
#include "shell/input/input_replay.h"
#include "shell/report_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/ui/settings_dialog_model.h"
#include "shell/shell_hooks.h"
#include "shell/ui/ui_views.h"

namespace vellum {

namespace {

using Clock = std::chrono::steady_clock;

// The kit's title bar sits above the dialog's client area.
constexpr int32_t kTitleBarH = 13;
// A headless dialog that hears nothing for this long takes "启动": nothing else would end it.
constexpr auto kHeadlessPatience = std::chrono::seconds(3);

SettingsDialogInputs dialogInputs(int32_t gameW, int32_t gameH, int32_t refW, int32_t flag) {
  SettingsDialogInputs in;
  in.gameW = gameW;
  in.gameH = gameH;
  in.refW = refW;
  in.flag = flag;
  in.aspectSwitchable = screenGeometry().aspectSwitchable;
  const std::string& path = persistState().settingsPath;
  std::error_code ec;
  in.firstStart = path.empty() || !std::filesystem::exists(path, ec);
  measuredMemory(in.freeMiB, in.videoMiB);
  const DisplayArea monitor = mainMonitor();
  in.screenW = monitor.width;
  in.screenH = monitor.height;
  return in;
}

// One frame; the index of the control clicked in it, or -1.
int32_t drawFrame(const SettingsDialog& d, bool shot) {
  const int32_t w = d.clientW, h = d.clientH + kTitleBarH;
  const ui::DialogView view = dialogView(d, settings());
  beginDialogSurfaceFrame();
  if (!ui::beginFrame(w, h, labelsOf(view))) return -1;
  const int32_t clicked = ui::drawDialog(view);
  ui::endFrame();
  if (shot) saveInterfaceShot(w, h);
  presentDialogSurface();
  return clicked;
}

}  // namespace

void runStartupSettingsDialog(int32_t gameW, int32_t gameH, int32_t refW, int32_t flag) {
  EngineSettings& s = settings();
  // Headless, the dialog answers "启动" at once like every box, unless a test asks to drive it
  // with replayed input.
  const char* driven = std::getenv("VELLUM_HEADLESS_DIALOGS");
  const bool shown = !engine().headless || (driven && *driven == '1');
  SettingsDialogInputs inputs = dialogInputs(gameW, gameH, refW, flag);
  // A dialog that is drawn is laid out in the font that draws it.
  if (shown) inputs.measure = &measureDialogControl;
  SettingsDialog d = openSettingsDialog(inputs, s);
  if (!shown) return;
  if (!openDialogSurface(d.clientW, d.clientH + kTitleBarH)) {
    showErrorBox(ReportText().ascii("CreateWindow"));
    closeDialogSurface();
    return;
  }
  ui::resetInput();
  setReplayPositionsRaw(true);
  int quit = 0;
  Clock::time_point lastHeard = Clock::now(), lastFrame = Clock::time_point{};
  bool shot = true;
  while (!(d.flagWord & kDialogClose)) {
    feedReplayedInput();
    WindowMessage m;
    if (takeWindowMessage(m)) {
      lastHeard = Clock::now();
      if (m.kind == MessageKind::Quit) {
        quit = 1;
        break;
      }
      if (m.kind == MessageKind::CloseRequest) closeSettingsDialog(d, quit);
      if (m.kind == MessageKind::DisplayChange) d.flagWord |= kDialogRebuild;
      if (ui::feedMessage(m, true) || m.kind == MessageKind::ButtonDown || m.kind == MessageKind::ButtonUp) shot = true;
    } else if (d.flagWord & kDialogRebuild) {
      rebuildResolutionList(d, s);
      d.flagWord &= ~kDialogRebuild;
      shot = true;
    } else if (engine().headless && replayedEventsLeft() == 0 && Clock::now() - lastHeard > kHeadlessPatience) {
      d.flagWord |= kDialogClose;
    } else if (Clock::now() - lastFrame < std::chrono::milliseconds(16)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    lastFrame = Clock::now();
    const int32_t clicked = drawFrame(d, shot);
    shot = false;
    if (clicked >= 0) {
      clickDialogControl(d, static_cast<size_t>(clicked), s, quit);
      shot = true;
    }
    if (engine().quitFlag) break;
  }
  // The last picture, as the player left it.
  drawFrame(d, true);
  setReplayPositionsRaw(false);
  closeDialogSurface();
  if (quit) engine().quitFlag = 1;
}

}  // namespace vellum
