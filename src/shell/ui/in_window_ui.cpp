#include "shell/ui/in_window_ui.h"

#include "base/text_encoding.h"
#include "persist/engine_settings.h"
#include "platform/main_window.h"
#include "platform/ui_overlay.h"
#include "platform/window_overlay.h"
#include "shell/services/find_request.h"
#include "shell/ui/menu_model.h"
#include "shell/renderer_seam.h"
#include "shell/shell_hooks.h"
#include "shell/display/shell_window_state.h"
#include "shell/ui/ui_views.h"

namespace vellum {

namespace {

struct UiState {
  int32_t chosenMenuId = 0;
  ui::FindAction findAction = ui::FindAction::None;
  ui::FindView find;
  bool shotRequested = false;
  bool drawnLastFrame = false;
  // The pinned bar shows while the pointer is in the top strip or inside its open menus.
  bool pinnedHover = false;
};

UiState uiState;

// The strip at the window's top where the pointer brings the bar.
constexpr int32_t kTopStrip = 20;

bool pinned() {
  const EngineSettings& s = settings();
  return !s.fullScreen && s.menuLock1;
}

// Drawn inside the window, a bar that always showed would hide the top of the game's picture, so
// the pinned bar too appears only while the pointer is at the top (the popup keeps its own rule).
bool menuBarShown() {
  const EngineSettings& s = settings();
  const ShellWindowState& w = shellWindow();
  if (!s.windowMenu || !w.screenReady) return false;
  return (pinned() && uiState.pinnedHover) || w.menuPopupState != 0;
}

// Runs over each presented frame, after the game's picture.
void paintInterface(int32_t windowW, int32_t windowH) {
  const bool menu = menuBarShown();
  FindRequest& request = findRequest();
  ui::MenuBarView bar;
  if (menu) bar = menuBarView(buildMenuModel(currentMenuInputs()));
  if (!ui::beginFrame(windowW, windowH, labelsOf(bar))) return;
  if (menu) {
    const int32_t id = ui::drawMenuBar(bar);
    if (id) uiState.chosenMenuId = id;
  }
  if (request.open) {
    uiState.find.text = toUtf8(request.text, CodePage::Gbk);
    uiState.find.down = (request.flags & kFindDown) != 0;
    uiState.find.raiseCount = request.raiseCount;
    const ui::FindAction action = ui::drawFind(uiState.find, "Find");
    request.text = fromUtf8(uiState.find.text, CodePage::Gbk);
    if (request.text.size() >= kFindTextCapacity) request.text.resize(kFindTextCapacity - 1);
    request.flags = (request.flags & ~kFindDown) | (uiState.find.down ? kFindDown : 0);
    if (action != ui::FindAction::None) uiState.findAction = action;
  }
  ui::endFrame();
  // One more frame after the interface goes, so that it leaves the picture.
  uiState.drawnLastFrame = menu || request.open;
  if (uiState.shotRequested) saveInterfaceShot(windowW, windowH);
  uiState.shotRequested = false;
}

void repaint() { presentRenderer(0, 0, 0, 0); }

// What the frame's clicks chose, run after the frame (never inside the present).
void runChoices() {
  if (const int32_t id = uiState.chosenMenuId) {
    uiState.chosenMenuId = 0;
    // The popup closes with its choice; a pinned bar stays.
    if (shellWindow().menuPopupState) shellWindow().menuPopupState = 0;
    runMenuCommand(id);
    repaint();
  }
  const ui::FindAction action = uiState.findAction;
  uiState.findAction = ui::FindAction::None;
  const FindRequest& request = findRequest();
  if (action == ui::FindAction::FindNext) notifyFind((request.flags & (kFindDown | kFindHideWholeWord)) | kFindNext);
  if (action == ui::FindAction::Close) {
    notifyFind((request.flags & (kFindDown | kFindHideWholeWord)) | kFindClosing);
    repaint();
  }
}

bool interfaceWanted() { return menuBarShown() || findRequest().open || uiState.drawnLastFrame; }

[[maybe_unused]] const bool installed = (setOverlayPainter({&interfaceWanted, &paintInterface}), true);

}  // namespace

bool interfaceShown() { return menuBarShown() || findRequest().open; }

bool routeMessageToInterface(WindowMessage& m) {
  if (m.kind == MessageKind::MouseMove && pinned())
    uiState.pinnedHover = m.y < kTopStrip || (uiState.pinnedHover && ui::menuHasPointer());
  const bool shown = interfaceShown();
  if (!shown && !uiState.drawnLastFrame) return false;
  if (!ui::feedMessage(m, shown)) {
    // The interface follows the pointer even when the game gets the message (and leaves the
    // picture when the pointer takes it away).
    if (m.kind == MessageKind::MouseMove) {
      // A bar that just appeared knows what is under the pointer from its second frame on.
      const bool appearing = shown && !uiState.drawnLastFrame;
      repaint();
      if (appearing) repaint();
    }
    return false;
  }
  m.kind = MessageKind::None;
  uiState.shotRequested = true;
  repaint();
  runChoices();
  return true;
}

void refreshInterface() {
  // Two frames: a window that asks for the keyboard has it from its second frame on.
  repaint();
  repaint();
}

void resetInWindowUi() {
  uiState = UiState{};
  ui::resetInput();
}

// The window layer's calls: the bar is drawn from the settings on every frame, so building it is
// a repaint.
void buildFrameMenu() { repaint(); }
void buildPopupMenu() { refreshInterface(); }
void hidePopupMenu() { repaint(); }
void extendSystemMenu() {}

}  // namespace vellum
