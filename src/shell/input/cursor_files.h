// Windows cursor files read in memory: `.cur` (and `.ico`) pictures, BMP-style with an AND mask or
// embedded PNG, and `.ani` animated cursors (a RIFF "ACON" file of such pictures with rates and a
// sequence). Every length and offset is checked; a bad file gives a reason, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_cursor.h"

namespace vellum {

// Sides above this are refused (cursors are 32 to 256 pixels).
constexpr int32_t kMaxCursorSide = 1024;
constexpr size_t kMaxCursorFrames = 512;

// The largest picture of the file (the deepest one among equals).
bool parseCursorFile(const uint8_t* data, size_t size, CursorFrame& out, std::string& error);

struct CursorAnimation {
  std::vector<CursorFrame> frames;
  std::vector<uint32_t> sequence;     // frame index per step
  std::vector<uint32_t> durationsMs;  // per step
};

bool parseAnimatedCursor(const uint8_t* data, size_t size, CursorAnimation& out, std::string& error);

}  // namespace vellum
