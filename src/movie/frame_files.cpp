#include "movie/frame_files.h"

#include <cstring>

#include "movie/thor_header.h"

namespace vellum {

namespace {

uint32_t wordAt(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool tagIs(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// The frames of an AVI file start inside its "movi" list; files written by other tools put it
// anywhere, so the list is looked for and byte 2048 is the fallback.
uint64_t moviList(const uint8_t* bytes, size_t size) {
  uint64_t at = 12;
  while (at + 12 <= size) {
    const uint32_t length = wordAt(bytes + at + 4);
    if (tagIs(bytes + at, "LIST") && tagIs(bytes + at + 8, "movi")) return at + 12;
    at += 8 + uint64_t{length} + (length & 1);
  }
  return 2048;
}

bool readAvi(const uint8_t* bytes, size_t size, FrameFileLayout& l, std::string& problem) {
  if (size < 136) {
    problem = "AVI header cut short";
    return false;
  }
  if (!tagIs(bytes + 112, "MJPG")) {
    problem = "AVI video is not MJPG";
    return false;
  }
  l.avi = true;
  l.frameCount = wordAt(bytes + 48);
  l.width = wordAt(bytes + 64);
  l.height = wordAt(bytes + 68);
  const uint32_t rate = wordAt(bytes + 132);
  if (rate == 0) {
    problem = "AVI frame rate 0";
    return false;
  }
  l.passDurationMs = static_cast<uint32_t>(uint64_t{l.frameCount} * 1000u / rate);
  l.firstChunk = moviList(bytes, size);
  return true;
}

}  // namespace

bool readFrameFileLayout(const uint8_t* bytes, size_t size, int32_t frameRate, FrameFileLayout& l, std::string& problem) {
  l = FrameFileLayout{};
  if (!bytes || size < 4) {
    problem = "too short";
    return false;
  }
  if (tagIs(bytes, "RIFF")) {
    if (!readAvi(bytes, size, l, problem)) return false;
  } else if (tagIs(bytes, "MJPG")) {
    if (size < kThorHeaderSize) {
      problem = "MJPG header cut short";
      return false;
    }
    l.frameCount = wordAt(bytes + 24);
    l.width = wordAt(bytes + 28);
    l.height = wordAt(bytes + 32);
    l.passDurationMs = frameRate > 0 ? static_cast<uint32_t>(uint64_t{l.frameCount} * 1000u / static_cast<uint32_t>(frameRate))
                                     : wordAt(bytes + 20);
    l.firstChunk = kThorHeaderSize;
  } else {
    problem = "not a frame file";
    return false;
  }
  if (l.frameCount == 0 || l.frameCount > 1000000) {
    problem = "frame count " + std::to_string(l.frameCount);
    return false;
  }
  if (l.passDurationMs == 0) {
    problem = "duration 0";
    return false;
  }
  if (l.width == 0 || l.height == 0 || l.width > kMaxMovieSide || l.height > kMaxMovieSide) {
    problem = "picture size " + std::to_string(l.width) + "x" + std::to_string(l.height) + " out of range";
    return false;
  }
  return true;
}

FrameChunk readChunkHeader(const uint8_t* head, uint64_t position, uint64_t size, bool padded, uint64_t& next) {
  FrameChunk c;
  c.tag = wordAt(head);
  c.length = wordAt(head + 4);
  c.offset = position + 8;
  if (tagIs(head, "idx1") || tagIs(head, "EOF ")) return c;
  if (!tagIs(head, "00dc") || c.offset + c.length > size) {
    c.kind = FrameChunk::Bad;
    c.offset = position;
    return c;
  }
  c.kind = c.length == 0 ? FrameChunk::Repeat : FrameChunk::Frame;
  next = c.offset + c.length + (padded ? (c.length & 1) : 0);
  return c;
}

FrameChunk nextFrameChunk(const uint8_t* bytes, size_t size, uint64_t& position, bool padded) {
  if (position + 8 > size) return {};  // End
  return readChunkHeader(bytes + position, position, size, padded, position);
}

}  // namespace vellum
