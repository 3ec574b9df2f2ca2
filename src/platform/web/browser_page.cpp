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

void syncBrowserStorage() { MAIN_THREAD_ASYNC_EM_ASM({ if (typeof Module['vellumSyncStorage'] === 'function') Module['vellumSyncStorage'](); }); }

bool askInBrowser(const std::string& title, const std::string& text) {
  return confirmInPage(title.c_str(), text.c_str()) != 0;
}

void tellInBrowser(const std::string& title, const std::string& text) { alertInPage(title.c_str(), text.c_str()); }

bool pageHasFocus() { return documentHasFocus() != 0; }

}  // namespace vellum
