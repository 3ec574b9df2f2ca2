#include "movie/thor_header.h"

#include <cstring>

namespace vellum {

namespace {

uint32_t wordAt(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void putWord(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool parseThorHeader(const uint8_t* bytes, size_t size, uint64_t fileSize, ThorHeader& h, std::string& problem) {
  if (!bytes || size < kThorHeaderSize) {
    problem = "shorter than its 44-byte header";
    return false;
  }
  if (std::memcmp(bytes, "THOR", 4) != 0) {
    problem = "not a THOR file";
    return false;
  }
  h.videoLength = wordAt(bytes + 4);
  h.word8 = wordAt(bytes + 8);
  h.word12 = wordAt(bytes + 12);
  h.word16 = wordAt(bytes + 16);
  h.durationMs = wordAt(bytes + 20);
  h.frameCount = wordAt(bytes + 24);
  h.width = wordAt(bytes + 28);
  h.height = wordAt(bytes + 32);
  h.word36 = wordAt(bytes + 36);
  h.soundLength = wordAt(bytes + 40);
  if (h.width == 0 || h.height == 0 || h.width > kMaxMovieSide || h.height > kMaxMovieSide) {
    problem = "picture size " + std::to_string(h.width) + "x" + std::to_string(h.height) + " out of range";
    return false;
  }
  if (h.frameCount == 0) {
    problem = "no frames";
    return false;
  }
  if (h.durationMs == 0) {
    problem = "duration 0";
    return false;
  }
  if (h.videoLength == 0) {
    problem = "no video stream";
    return false;
  }
  if (fileSize != 0 && h.videoOffset() + h.videoLength > fileSize) {
    problem = "sound and video run past the end of the file";
    return false;
  }
  return true;
}

void writeThorHeader(const ThorHeader& h, uint8_t out[kThorHeaderSize]) {
  std::memcpy(out, "THOR", 4);
  putWord(out + 4, h.videoLength);
  putWord(out + 8, h.word8);
  putWord(out + 12, h.word12);
  putWord(out + 16, h.word16);
  putWord(out + 20, h.durationMs);
  putWord(out + 24, h.frameCount);
  putWord(out + 28, h.width);
  putWord(out + 32, h.height);
  putWord(out + 36, h.word36);
  putWord(out + 40, h.soundLength);
}

}  // namespace vellum
