#include "platform/browser_page.h"

#include <emscripten.h>

#include <chrono>

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

}  // namespace

void yieldToBrowserIfDue() {
  const Clock::time_point now = Clock::now();
  if (now - lastTurn < kTurn) return;
  emscripten_sleep(0);
  lastTurn = Clock::now();
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
