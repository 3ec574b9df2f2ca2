#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "base/box_placement.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "platform/browser_page.h"
#include "platform/main_window.h"

namespace vellum {

namespace {

Uint32 sdlFlags(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Error: return SDL_MESSAGEBOX_ERROR;
    case BoxIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::Information: break;
  }
  return SDL_MESSAGEBOX_INFORMATION;
}

}  // namespace

bool haveDisplay() {
  // A page always has its canvas.
  if (kInBrowserPage) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

std::string asOneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += " | ";
    } else {
      line += c;
    }
  }
  return line;
}

SDL_Window* boxParent() {
  SDL_Window* window = mainWindowHandle();
  if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN)) return nullptr;
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  // Only where placeBox would move a box over the window (it leaves boxes beside small windows).
  const bool centred = placeBox(BoxRect{0, 0, w, h}, BoxRect{}).left != 0;
  return centred ? window : nullptr;
}

void showMessageBox(const std::string& title, const std::string& text, BoxIcon icon) {
  if (!engine().headless && haveDisplay()) {
    // The box is modal: the engine waits until it is closed.
    if (kInBrowserPage) {
      tellInBrowser(title, text);
      return;
    }
    if (SDL_ShowSimpleMessageBox(sdlFlags(icon), title.c_str(), text.c_str(), boxParent()) == 0) return;
  }
  std::fprintf(stderr, "%s: %s\n", title.c_str(), asOneLine(text).c_str());
  std::fflush(stderr);
}

namespace {
// The error box of every report is this platform's message box.
void presentErrorBox(const ReportText& text) { showMessageBox("Error", text.utf8(), BoxIcon::Error); }
// The report's slot is constant-initialised, so it can be filled while the program starts.
[[maybe_unused]] const bool registered = (setErrorBoxPresenter(&presentErrorBox), true);
}  // namespace

}  // namespace vellum
