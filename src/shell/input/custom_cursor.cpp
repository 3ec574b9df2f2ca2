#include "shell/input/custom_cursor.h"

#include <string>

#include "base/report.h"
#include "image/image_io.h"
#include "persist/engine_settings.h"
#include "persist/subsystem_hooks.h"
#include "base/clock.h"
#include "platform/main_window.h"
#include "platform/system_cursor.h"
#include "shell/input/cursor_files.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

// The extension after the last separator ('/' or '\'), double-byte characters kept whole.
std::string_view extensionOf(std::string_view name) {
  size_t base = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < name.size()) {
      ++i;
      continue;
    }
    if (c == '/' || c == '\\') base = i + 1;
  }
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot < base ? std::string_view() : name.substr(dot);
}

void reportFailure(std::string_view name, const std::string& reason) {
  showErrorBox(ReportText().ascii("CreateAlphaCursor\n").gbk(name).ascii("\n").ascii(reason));
}

// A picture of the image codecs as a one-frame cursor: alpha below 128 is transparent.
bool pictureCursor(const uint8_t* data, size_t size, CursorFrame& frame) {
  Image* image = loadImage(data, size);
  if (!image) return false;
  frame.width = image->width;
  frame.height = image->height;
  frame.hotX = frame.hotY = 0;
  frame.pixels.resize(static_cast<size_t>(image->width) * image->height);
  for (size_t i = 0; i < frame.pixels.size(); ++i) {
    const uint32_t p = image->pixels[i];
    frame.pixels[i] = (p & 0x00FFFFFF) | ((p >> 24) >= 128 ? 0xFF000000u : 0u);
  }
  freeImage(image);
  return true;
}

void makeCurrent(std::string_view name) {
  clearCustomCursor();
  if (name.empty() || !mainWindowExists()) return;
  StorageState& st = storage();
  uint32_t size = 0;
  if (!loadFile(name, st.scratch, size, st.scratchCapacity)) return;
  const uint8_t* data = st.scratch;
  const std::string_view extension = extensionOf(name);
  CursorAnimation animation;
  std::string error;
  if (extension == ".cur") {
    CursorFrame frame;
    if (!parseCursorFile(data, size, frame, error)) return reportFailure(name, error);
    animation.frames.push_back(std::move(frame));
    animation.sequence.push_back(0);
    animation.durationsMs.push_back(0);
  } else if (extension == ".ani") {
    if (!parseAnimatedCursor(data, size, animation, error)) return reportFailure(name, error);
  } else {
    CursorFrame frame;
    if (!pictureCursor(data, size, frame)) return;
    if (frame.width > kMaxCursorSide || frame.height > kMaxCursorSide) return reportFailure(name, "the picture is too large");
    animation.frames.push_back(std::move(frame));
    animation.sequence.push_back(0);
    animation.durationsMs.push_back(0);
  }
  setCustomCursor(animation.frames, animation.sequence, animation.durationsMs);
}

}  // namespace

void setCursorFile(std::string_view name) {
  settings().cursorFile.assign(name);
  makeCurrent(name);
}

void stepCursorAnimation() { animateCustomCursor(tickMilliseconds()); }

void reapplyCustomCursor() { makeCurrent(settings().cursorFile); }

// The configuration was read: its cursor comes into use.
void loadSettingsCursor() { makeCurrent(settings().cursorFile); }

}  // namespace vellum
