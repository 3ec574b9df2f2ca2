#include "platform/main_window.h"

#include <SDL.h>

#include <cstring>

#include "base/engine_state.h"
#include "platform/browser_page.h"
#include "platform/game_controllers.h"
#include "platform/gpu/gl_context.h"
#include "platform/message_queue.h"

namespace vellum {

namespace {

// The display a headless run pretends to have.
constexpr DisplayArea kHeadlessMonitor{0, 0, 1920, 1080, 60};

struct WindowRecord {
  SDL_Window* window = nullptr;
  bool videoStarted = false;
  bool fullScreen = false;
  bool changed800x600 = false;
};

WindowRecord& record() {
  static WindowRecord r;
  return r;
}

bool headlessDisplay() {
  if (engine().headless) return true;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

int displayIndex() {
  const int index = record().window ? SDL_GetWindowDisplayIndex(record().window) : 0;
  return index < 0 ? 0 : index;
}

}  // namespace

bool startVideo() {
  WindowRecord& r = record();
  if (r.videoStarted) return true;
  // Quitting is the engine's decision: the signals are ours and closing the window is a request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Losing the focus in full screen leaves the window as it is (Alt+Tab away and back).
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // A page has one video driver, the canvas's; headless under node the loader stands in a canvas
  // that draws nothing (the start-up's SDL_VIDEODRIVER=offscreen names a driver the web lacks).
  if (kInBrowserPage)
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "emscripten", SDL_HINT_OVERRIDE);
  else if (engine().headless)
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  // A busy X server that answered the display probe a moment ago can refuse the next connection:
  // try a few times before the game is told there is no window.
  constexpr int kAttempts = 4;
  for (int attempt = 1; SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0; ++attempt) {
    if (attempt == kAttempts) return false;
    SDL_Delay(150);
  }
  r.videoStarted = true;
  return true;
}

bool createMainWindow(const std::string& title) {
  WindowRecord& r = record();
  if (r.window) return true;
  if (!startVideo()) return false;
  // The renderer makes an OpenGL context on this window; the window's surface must be made with
  // the same attributes, or the context cannot be made current on it.
  gpu::requestGlAttributes();
  const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_OPENGL;
  r.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1, flags);
  // A display without OpenGL still gets a window; the renderer reports what it cannot do.
  if (!r.window)
    r.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1,
                                flags & ~SDL_WINDOW_OPENGL);
  if (!r.window) return false;
  SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
  if (headlessDisplay()) {
    // Nothing gives an offscreen window the focus; it is the active window from the start.
    WindowMessage active;
    active.kind = MessageKind::Activate;
    postWindowMessage(active);
  } else {
    // Headless runs take pads only from replayed input, never from a pad that happens to be plugged in.
    startGameControllers();
  }
  return true;
}

bool mainWindowExists() { return record().window != nullptr; }
SDL_Window* mainWindowHandle() { return record().window; }
uint32_t mainWindowId() { return record().window ? SDL_GetWindowID(record().window) : 0; }

void destroyMainWindow() {
  WindowRecord& r = record();
  stopGameControllers();
  if (r.window) SDL_DestroyWindow(r.window);
  r.window = nullptr;
  r.fullScreen = r.changed800x600 = false;
  if (r.videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  r.videoStarted = false;
}

void setMainWindowTitle(const std::string& title) {
  if (record().window) SDL_SetWindowTitle(record().window, title.c_str());
}

std::string mainWindowTitle() { return record().window ? SDL_GetWindowTitle(record().window) : std::string(); }

DisplayArea mainMonitor() {
  if (headlessDisplay()) {
    DisplayArea area = kHeadlessMonitor;
    if (record().changed800x600) area.width = 800, area.height = 600;
    return area;
  }
  DisplayArea area;
  SDL_Rect bounds{};
  const int index = displayIndex();
  if (SDL_GetDisplayBounds(index, &bounds) == 0) {
    area.left = bounds.x;
    area.top = bounds.y;
    area.width = bounds.w;
    area.height = bounds.h;
  }
  SDL_DisplayMode mode{};
  if (SDL_GetCurrentDisplayMode(index, &mode) == 0) area.refreshRate = mode.refresh_rate;
  return area;
}

bool monitorOffers800x600() {
  if (headlessDisplay()) return true;
  const int index = displayIndex();
  const int modes = SDL_GetNumDisplayModes(index);
  for (int i = 0; i < modes; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(index, i, &mode) == 0 && mode.w == 800 && mode.h == 600) return true;
  }
  return false;
}

bool showFullScreen(bool change800x600) {
  WindowRecord& r = record();
  if (!r.window) return false;
  bool changed = false;
  if (headlessDisplay()) {
    changed = change800x600;
  } else if (change800x600 && monitorOffers800x600()) {
    SDL_DisplayMode wanted{};
    wanted.w = 800;
    wanted.h = 600;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(displayIndex(), &wanted, &closest) && SDL_SetWindowDisplayMode(r.window, &closest) == 0) {
      SDL_SetWindowFullscreen(r.window, 0);
      changed = SDL_SetWindowFullscreen(r.window, SDL_WINDOW_FULLSCREEN) == 0;
    }
  }
  if (!changed && !headlessDisplay()) SDL_SetWindowFullscreen(r.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  r.fullScreen = true;
  r.changed800x600 = changed;
  SDL_ShowWindow(r.window);
  return changed || !change800x600;
}

void showWindowed(int32_t clientX, int32_t clientY, int32_t clientW, int32_t clientH, bool resizable) {
  WindowRecord& r = record();
  if (!r.window) return;
  if (r.fullScreen && !headlessDisplay()) SDL_SetWindowFullscreen(r.window, 0);
  r.fullScreen = r.changed800x600 = false;
  SDL_SetWindowResizable(r.window, resizable ? SDL_TRUE : SDL_FALSE);
  if (clientW > 0 && clientH > 0) SDL_SetWindowSize(r.window, clientW, clientH);
  SDL_SetWindowPosition(r.window, clientX, clientY);
  SDL_ShowWindow(r.window);
}

void setTopmost(bool topmost) {
  if (record().window) SDL_SetWindowAlwaysOnTop(record().window, topmost ? SDL_TRUE : SDL_FALSE);
}

bool mainWindowFullScreen() { return record().fullScreen; }

bool mainWindowMinimized() {
  return record().window && (SDL_GetWindowFlags(record().window) & SDL_WINDOW_MINIMIZED) != 0;
}

bool mainWindowMaximized() {
  return record().window && (SDL_GetWindowFlags(record().window) & SDL_WINDOW_MAXIMIZED) != 0;
}

void raiseMainWindow() {
  if (!record().window) return;
  if (mainWindowMinimized()) SDL_RestoreWindow(record().window);
  SDL_RaiseWindow(record().window);
}

FrameBorders mainWindowBorders() {
  FrameBorders b;
  if (record().window && !headlessDisplay()) SDL_GetWindowBordersSize(record().window, &b.top, &b.left, &b.bottom, &b.right);
  return b;
}

void warpPointer(int32_t x, int32_t y) {
  if (record().window && !headlessDisplay()) SDL_WarpMouseInWindow(record().window, x, y);
  setPointerPosition(x, y);
}

void showPointer(bool shown) {
  if (record().videoStarted) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace vellum
