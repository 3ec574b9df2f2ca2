#include "shell/display/window_procedure.h"

#include "persist/engine_settings.h"
#include "platform/main_window.h"
#include "base/text_encoding.h"
#include "platform/virtual_keys.h"
#include "shell/display/display_mode.h"
#include "shell/ui/in_window_ui.h"
#include "shell/input/mode_keys.h"
#include "shell/input/reload_key.h"
#include "shell/renderer_seam.h"
#include "shell/display/screen_geometry.h"
#include "shell/shell_hooks.h"
#include "shell/display/shell_window_state.h"
#include "shell/services/speech_service.h"

namespace vellum {

namespace {

void consume(WindowMessage& m) { m.kind = MessageKind::None; }

void onRestored() {
  ShellWindowState& w = shellWindow();
  w.trayState = (w.trayState & 4) ? 0 : (w.trayState & 2) * 2;
}

// The window manager moved the window: keep the outer frame's position while windowed.
void onMoved(const WindowMessage& m) {
  EngineSettings& s = settings();
  if (s.fullScreen || mainWindowMinimized()) return;
  const FrameBorders b = mainWindowBorders();
  s.clientLeft = m.x - b.left;
  s.clientTop = m.y - b.top;
}

// The player dragged an edge: the client keeps the render aspect.
void onSizeChanged(const WindowMessage& m) {
  EngineSettings& s = settings();
  if (s.fullScreen || mainWindowMinimized() || !shellWindow().screenReady) return;
  const ScreenGeometry& g = screenGeometry();
  if (m.x == s.windowWidth && m.y == s.windowHeight) return;
  PositionChange proposed;
  proposed.x = s.clientLeft;
  proposed.y = s.clientTop;
  proposed.cx = m.x + g.frameW;
  proposed.cy = m.y + g.frameH;
  const PositionChange fixed =
      correctToAspect(proposed, GeoSize{s.windowWidth, s.windowHeight}, g.aspect, g.frameW, g.frameH);
  setClientSize(fixed.client.width, fixed.client.height);
  if (fixed.client.width != m.x || fixed.client.height != m.y) {
    const FrameBorders b = mainWindowBorders();
    showWindowed(s.clientLeft + b.left, s.clientTop + b.top, fixed.client.width, fixed.client.height,
                 s.windowChange == 0);
  }
}

// The menu-bar popup follows the pointer to the top edge when the menu is not fixed in the frame.
void onMouseMove(const WindowMessage& m) {
  ShellWindowState& w = shellWindow();
  const EngineSettings& s = settings();
  if (!s.systemActive || !s.windowMenu || !(s.fullScreen || !s.menuLock1)) return;
  if (w.menuPopupState == 0 && m.y < 20) {
    w.menuPopupState = 1;
    buildPopupMenu();
  } else if (w.menuPopupState != 0 && m.y > 20) {
    w.menuPopupState &= ~1;
    hidePopupMenu();
  }
}

void onKeyUp(WindowMessage& m) {
  if (m.vk == vk::Shift) toggleAutoMode();
  if (m.vk == vk::Tab) toggleSkipMode();
  if (m.vk == 'V') toggleReadingAloud();
}

void onSysKeyDown(WindowMessage& m) {
  if (m.vk == vk::Return) {
    if (!shellWindow().transitionRunning) toggleFullScreen();
    consume(m);
  }
}

void toggleMenuPopup() {
  ShellWindowState& w = shellWindow();
  if (w.menuPopupState) {
    w.menuPopupState = 0;
    hidePopupMenu();
  } else {
    w.menuPopupState = 2;
    buildPopupMenu();
  }
}

void onSysKeyUp(WindowMessage& m) {
  if (m.vk != vk::Menu) return;
  const EngineSettings& s = settings();
  if (s.windowMenu && (s.fullScreen || !s.menuLock1)) toggleMenuPopup();
}

}  // namespace

void windowProcedure(WindowMessage& m) {
  if (routeMessageToInterface(m)) return;
  if (takeReloadKey(m)) {
    consume(m);
    return;
  }
  ShellWindowState& w = shellWindow();
  EngineSettings& s = settings();
  switch (m.kind) {
    case MessageKind::CloseRequest:
      // Closing is the script's decision: it hears of the request as an event.
      w.closeRequest = mainWindowMinimized() ? 2 : 1;
      consume(m);
      break;
    case MessageKind::Activate: s.systemActive |= kSystemActiveFocus; break;
    case MessageKind::Deactivate: s.systemActive &= ~kSystemActiveFocus; break;
    case MessageKind::Minimized: w.trayState = 1; break;
    case MessageKind::Maximized: w.trayState = 2; break;
    case MessageKind::Restored: onRestored(); break;
    case MessageKind::Moved: onMoved(m); break;
    case MessageKind::SizeChanged: onSizeChanged(m); break;
    case MessageKind::DisplayChange: updateMonitorFromWindow(); break;
    case MessageKind::Paint:
      presentRenderer(0, 0, 0, 0);
      consume(m);
      break;
    case MessageKind::MouseMove: onMouseMove(m); break;
    case MessageKind::KeyUp: onKeyUp(m); break;
    case MessageKind::SysKeyDown: onSysKeyDown(m); break;
    case MessageKind::SysKeyUp: onSysKeyUp(m); break;
    case MessageKind::MenuRequest:
      // A pad has no pointer to bring the pinned bar down with: the bar comes as the popup does.
      if (s.windowMenu) toggleMenuPopup();
      consume(m);
      break;
    case MessageKind::DropFile:
      // Paths reach scripts in the game's code page.
      m.path = fromUtf8(m.path, CodePage::Gbk);
      break;
    default: break;
  }
}

}  // namespace vellum
