#include "platform/message_queue.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <deque>
#include <thread>

#include "platform/browser_page.h"
#include "platform/game_controllers.h"
#include "platform/main_window.h"
#include "platform/quit_signals.h"
#include "platform/virtual_keys.h"

namespace vellum {

namespace {

struct QueueState {
  std::deque<WindowMessage> pending;
  std::array<bool, 256> held{};
  int pointerX = 0, pointerY = 0;
};

QueueState& queue() {
  static QueueState state;
  return state;
}

int32_t buttonKey(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return vk::LButton;
    case MouseButton::Right: return vk::RButton;
    case MouseButton::Middle: return vk::MButton;
  }
  return 0;
}

void setHeld(int32_t key, bool down) {
  if (key > 0 && key < 256) queue().held[static_cast<size_t>(key)] = down;
}

bool isKeyKind(MessageKind kind) {
  return kind == MessageKind::KeyDown || kind == MessageKind::KeyUp || kind == MessageKind::SysKeyDown ||
         kind == MessageKind::SysKeyUp;
}

bool isDownKind(MessageKind kind) { return kind == MessageKind::KeyDown || kind == MessageKind::SysKeyDown; }

// SDL's left, right and middle buttons.
bool translateButton(Uint8 sdlButton, MouseButton& button) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: button = MouseButton::Left; return true;
    case SDL_BUTTON_RIGHT: button = MouseButton::Right; return true;
    case SDL_BUTTON_MIDDLE: button = MouseButton::Middle; return true;
    default: return false;
  }
}

bool translateWindowEvent(const SDL_WindowEvent& e, WindowMessage& m) {
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: m.kind = MessageKind::CloseRequest; return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED: m.kind = MessageKind::Activate; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // In a page SDL hands its keyboard focus to every window made (the GPU probe's hidden one
      // too) and to none when that one goes, though the page keeps the browser's focus: there
      // only the page losing the focus deactivates the game.
      if (kInBrowserPage && pageHasFocus()) return false;
      m.kind = MessageKind::Deactivate;
      return true;
    case SDL_WINDOWEVENT_MINIMIZED: m.kind = MessageKind::Minimized; return true;
    case SDL_WINDOWEVENT_MAXIMIZED: m.kind = MessageKind::Maximized; return true;
    case SDL_WINDOWEVENT_RESTORED: m.kind = MessageKind::Restored; return true;
    case SDL_WINDOWEVENT_MOVED:
      m.kind = MessageKind::Moved;
      m.x = e.data1;
      m.y = e.data2;
      return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      m.kind = MessageKind::SizeChanged;
      m.x = e.data1;
      m.y = e.data2;
      return true;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: m.kind = MessageKind::DisplayChange; return true;
    case SDL_WINDOWEVENT_EXPOSED: m.kind = MessageKind::Paint; return true;
    default: return false;
  }
}

// One SDL event as a message of the main window; false for events the engine does not use.
bool translate(const SDL_Event& e, WindowMessage& m) {
  const Uint32 mainId = mainWindowId();
  switch (e.type) {
    case SDL_WINDOWEVENT:
      return e.window.windowID == mainId && translateWindowEvent(e.window, m);
    case SDL_DISPLAYEVENT: m.kind = MessageKind::DisplayChange; return true;
    case SDL_MOUSEMOTION:
      if (e.motion.windowID != mainId) return false;
      m.kind = MessageKind::MouseMove;
      m.x = e.motion.x;
      m.y = e.motion.y;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.windowID != mainId) return false;
      if (e.button.button == SDL_BUTTON_X1 || e.button.button == SDL_BUTTON_X2) {
        setHeld(e.button.button == SDL_BUTTON_X1 ? vk::XButton1 : vk::XButton2, e.type == SDL_MOUSEBUTTONDOWN);
        return false;
      }
      if (!translateButton(e.button.button, m.button)) return false;
      m.kind = e.type == SDL_MOUSEBUTTONDOWN ? MessageKind::ButtonDown : MessageKind::ButtonUp;
      m.x = e.button.x;
      m.y = e.button.y;
      return true;
    case SDL_MOUSEWHEEL: {
      if (e.wheel.windowID != mainId) return false;
      int notches = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) return false;
      m.kind = MessageKind::Wheel;
      m.wheelDelta = notches * 120;
      return true;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (e.key.windowID != mainId) return false;
      m.kind = e.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
      m.vk = virtualKeyForScancode(e.key.keysym.scancode);
      m.sidedVk = sidedVirtualKey(e.key.keysym.scancode);
      return m.vk != 0;
    case SDL_DROPFILE:
      if (!e.drop.file) return false;
      m.kind = MessageKind::DropFile;
      m.path = e.drop.file;
      SDL_free(e.drop.file);
      return true;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION: return translateControllerEvent(e, m);
    default: return false;
  }
}

// SDL's offscreen and dummy drivers deliver no input and have nothing to block on: SDL would wake
// every millisecond to poll them.
bool windowSystemCanWait() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

void pollSdlEvents() {
  if (!mainWindowExists()) return;
  SDL_Event e;
  while (queue().pending.empty() && SDL_PollEvent(&e)) {
    WindowMessage m;
    if (translate(e, m)) postWindowMessage(std::move(m));
  }
}

}  // namespace

void postWindowMessage(WindowMessage message) {
  QueueState& q = queue();
  if (isKeyKind(message.kind)) {
    const bool down = isDownKind(message.kind);
    if (message.sidedVk == 0) message.sidedVk = message.vk;
    // Windows reports keys typed with Alt held, Alt itself and F10 as system keys.
    const bool system = message.vk == vk::Menu || message.vk == vk::F10 || keyHeld(vk::Menu);
    if (system) message.kind = down ? MessageKind::SysKeyDown : MessageKind::SysKeyUp;
    setHeld(message.vk, down);
    setHeld(message.sidedVk, down);
  } else if (message.kind == MessageKind::ButtonDown || message.kind == MessageKind::ButtonUp) {
    setHeld(buttonKey(message.button), message.kind == MessageKind::ButtonDown);
    q.pointerX = message.x;
    q.pointerY = message.y;
  } else if (message.kind == MessageKind::MouseMove) {
    q.pointerX = message.x;
    q.pointerY = message.y;
  } else if (message.kind == MessageKind::Deactivate) {
    // Keys released while another window has the focus never reach us.
    q.held.fill(false);
  }
  q.pending.push_back(std::move(message));
}

bool takeWindowMessage(WindowMessage& out) {
  if (quitRequested()) {
    out = WindowMessage{};
    out.kind = MessageKind::Quit;
    return true;
  }
  // Every waiting loop of the engine comes through here: in a page the browser gets its turn.
  yieldToBrowserIfDue();
  QueueState& q = queue();
  if (q.pending.empty()) pollSdlEvents();
  if (q.pending.empty()) return false;
  out = std::move(q.pending.front());
  q.pending.pop_front();
  return true;
}

bool replayedMessagesWaiting() {
  const auto& pending = queue().pending;
  return std::any_of(pending.begin(), pending.end(), [](const WindowMessage& m) { return m.replayed; });
}

void waitForWindowMessage(uint32_t timeoutMs) {
  if (timeoutMs == 0 || !queue().pending.empty() || quitRequested()) return;
  if (kInBrowserPage && (!mainWindowExists() || !windowSystemCanWait())) {
    sleepInBrowser(timeoutMs);
    return;
  }
  if (!mainWindowExists() || !windowSystemCanWait()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return;
  }
  // A null event leaves what arrived in SDL's queue for takeWindowMessage to translate.
  SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMs));
}

bool keyHeld(int key) {
  if (key <= 0 || key >= 256) return false;
  const auto& held = queue().held;
  if (held[static_cast<size_t>(key)]) return true;
  // A generic modifier is held when either side is.
  switch (key) {
    case vk::Shift: return held[vk::LShift] || held[vk::RShift];
    case vk::Control: return held[vk::LControl] || held[vk::RControl];
    case vk::Menu: return held[vk::LMenu] || held[vk::RMenu];
    default: return false;
  }
}

void releaseHeldKey(int vk) { setHeld(vk, false); }

void pointerPosition(int& x, int& y) {
  x = queue().pointerX;
  y = queue().pointerY;
}

void setPointerPosition(int x, int y) {
  queue().pointerX = x;
  queue().pointerY = y;
}

void resetMessageQueue() {
  QueueState& q = queue();
  q.pending.clear();
  q.held.fill(false);
  q.pointerX = q.pointerY = 0;
}

}  // namespace vellum
