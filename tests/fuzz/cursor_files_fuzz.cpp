// Any bytes as a .cur or .ani cursor file: the readers refuse with a reason or give frames whose
// pixels match their size, never crash, over-read or allocate without bound.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "shell/input/cursor_files.h"

namespace {

void checkFrame(const vellum::CursorFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0 || frame.width > vellum::kMaxCursorSide ||
      frame.height > vellum::kMaxCursorSide ||
      frame.pixels.size() != static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height) ||
      frame.hotX < 0 || frame.hotY < 0 || frame.hotX >= frame.width || frame.hotY >= frame.height)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  fuzz::gameFolder();
  std::string error;
  CursorFrame frame;
  if (parseCursorFile(data, size, frame, error)) checkFrame(frame);
  CursorAnimation animation;
  if (parseAnimatedCursor(data, size, animation, error)) {
    if (animation.frames.empty() || animation.sequence.size() != animation.durationsMs.size()) std::abort();
    for (const CursorFrame& f : animation.frames) checkFrame(f);
    for (uint32_t index : animation.sequence)
      if (index >= animation.frames.size()) std::abort();
  }
  return 0;
}
