#include "platform/system_cursor.h"

#include <SDL.h>

#include "platform/main_window.h"

namespace vellum {

namespace {

struct CursorSet {
  std::vector<SDL_Cursor*> cursors;  // one per frame
  std::vector<uint32_t> sequence, durations;
  size_t step = 0;
  uint32_t stepStart = 0;
};

CursorSet& cursorSet() {
  static CursorSet set;
  return set;
}

SDL_Cursor* makeCursor(const CursorFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0 ||
      frame.pixels.size() < static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height))
    return nullptr;
  // The pixels are the bytes blue, green, red, alpha: SDL's ARGB8888 on a little-endian machine.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(frame.pixels.data()), frame.width,
                                                            frame.height, 32, frame.width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return nullptr;
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, frame.hotX, frame.hotY);
  SDL_FreeSurface(surface);
  return cursor;
}

}  // namespace

bool setCustomCursor(const std::vector<CursorFrame>& frames, const std::vector<uint32_t>& sequence,
                     const std::vector<uint32_t>& durationsMs) {
  clearCustomCursor();
  if (!mainWindowExists() || frames.empty()) return false;
  CursorSet& set = cursorSet();
  for (const CursorFrame& frame : frames) {
    SDL_Cursor* cursor = makeCursor(frame);
    if (!cursor) {
      clearCustomCursor();
      return false;
    }
    set.cursors.push_back(cursor);
  }
  set.sequence = sequence;
  set.durations = durationsMs;
  set.step = 0;
  set.stepStart = SDL_GetTicks();
  const size_t first = set.sequence.empty() ? 0 : set.sequence[0];
  SDL_SetCursor(set.cursors[first < set.cursors.size() ? first : 0]);
  return true;
}

void clearCustomCursor() {
  CursorSet& set = cursorSet();
  if (!set.cursors.empty() && mainWindowExists()) SDL_SetCursor(SDL_GetDefaultCursor());
  for (SDL_Cursor* cursor : set.cursors) SDL_FreeCursor(cursor);
  set = CursorSet{};
}

void animateCustomCursor(uint32_t nowMs) {
  CursorSet& set = cursorSet();
  if (set.cursors.size() < 2 || set.sequence.size() < 2) return;
  const uint32_t duration = set.step < set.durations.size() ? set.durations[set.step] : 0;
  if (nowMs - set.stepStart < (duration ? duration : 1)) return;
  set.step = (set.step + 1) % set.sequence.size();
  set.stepStart = nowMs;
  const size_t frame = set.sequence[set.step];
  if (frame < set.cursors.size()) SDL_SetCursor(set.cursors[frame]);
}

void keepDisplayAwake(bool awake) {
  if (!mainWindowExists()) return;
  if (awake) {
    SDL_DisableScreenSaver();
  } else {
    SDL_EnableScreenSaver();
  }
}

}  // namespace vellum
