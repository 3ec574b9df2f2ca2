#include "platform/browser_page.h"

#include <SDL.h>
#include <emscripten.h>

#include <chrono>

#include "platform/main_window.h"

// SDL's own (not in its public headers): hands the keyboard to a window, with the focus events.
extern "C" void SDL_SetKeyboardFocus(SDL_Window* window);

namespace vellum {

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for a loop to do real work between turns, short enough that input and drawing
// keep a frame's pace.
constexpr auto kTurn = std::chrono::milliseconds(12);
Clock::time_point lastTurn = Clock::now();


EM_JS(int, confirmInPage, (const char* title, const char* text), {
  if (typeof confirm !== 'function') return 1;
  return confirm(UTF8ToString(title) + '\n\n' + UTF8ToString(text)) ? 1 : 0;
});

EM_JS(void, alertInPage, (const char* title, const char* text), {
  if (typeof alert === 'function') alert(UTF8ToString(title) + '\n\n' + UTF8ToString(text));
});

// The browser's next animation frame after a present: while it has not come, the browser has not
// yet taken the frame.
EM_JS(void, askForAnimationFrame, (), {
  if (typeof requestAnimationFrame !== 'function') return;
  Module['vellumFrameAwaited'] = true;
  requestAnimationFrame(function() { Module['vellumFrameAwaited'] = false; });
});

EM_JS(int, animationFrameAwaited, (), { return Module['vellumFrameAwaited'] ? 1 : 0; });

EM_JS(int, documentHasFocus, (), {
  if (typeof document === 'undefined' || typeof document.hasFocus !== 'function') return 1;
  return document.hasFocus() ? 1 : 0;
});

EM_JS(int, inRealPage, (), { return typeof document !== 'undefined' && typeof document.hasFocus === 'function' ? 1 : 0; });

// SDL's browser back end gives each new window the keyboard, and no window once that one goes (it
// counts on a single window): after the GPU probe's hidden window the game's window would hear no
// key, and after the start-up dialog (which takes the window's first focus event) the engine would
// take it for inactive and ignore the pointer. While the page holds the browser's focus the
// keyboard goes back to the game's window, whose focus event makes the engine active again.
void giveKeyboardBackToGameWindow() {
  if (SDL_GetKeyboardFocus() != nullptr || !inRealPage() || !documentHasFocus()) return;
  if (SDL_Window* window = mainWindowHandle()) SDL_SetKeyboardFocus(window);
}

}  // namespace

void yieldToBrowserIfDue() {
  const Clock::time_point now = Clock::now();
  if (now - lastTurn < kTurn) return;
  emscripten_sleep(0);
  lastTurn = Clock::now();
  giveKeyboardBackToGameWindow();
}

void sleepInBrowser(uint32_t milliseconds) {
  emscripten_sleep(milliseconds);
  lastTurn = Clock::now();
}

void waitForBrowserFrame() {
  // WebGL only queues the drawing: a renderer slower than the engine (a software one) would
  // otherwise fall seconds behind, and what the player sees with it. One frame may be on its
  // way; a hidden page, which gets no animation frames, goes on at a few frames a second.
  const Clock::time_point started = Clock::now();
  while (animationFrameAwaited() && Clock::now() - started < std::chrono::milliseconds(250)) emscripten_sleep(2);
  askForAnimationFrame();
  lastTurn = Clock::now();
}

void syncBrowserStorage() { MAIN_THREAD_ASYNC_EM_ASM({ if (typeof Module['vellumSyncStorage'] === 'function') Module['vellumSyncStorage'](); }); }

bool askInBrowser(const std::string& title, const std::string& text) {
  return confirmInPage(title.c_str(), text.c_str()) != 0;
}

void tellInBrowser(const std::string& title, const std::string& text) { alertInPage(title.c_str(), text.c_str()); }

bool pageHasFocus() { return documentHasFocus() != 0; }

}  // namespace vellum
