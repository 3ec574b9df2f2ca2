#include "platform/clipboard.h"

#include <SDL.h>

namespace vellum {

bool setClipboardText(const std::string& utf8) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  return SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::optional<std::string> clipboardText() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || !SDL_HasClipboardText()) return std::nullopt;
  char* text = SDL_GetClipboardText();
  if (!text) return std::nullopt;
  std::string copy(text);
  SDL_free(text);
  if (copy.empty()) return std::nullopt;
  return copy;
}

}  // namespace vellum
