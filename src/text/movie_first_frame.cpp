#include "text/movie_first_frame.h"

#include <cstring>

namespace vellum {

namespace {

constexpr size_t kFrameContainerStart = 44;  // after the "MJPG" header
constexpr size_t kAviFramesStart = 2048;     // where AVI files keep their frame chunks
constexpr size_t kChunkHeader = 8;

bool startsWith(const uint8_t* data, size_t size, const char* magic) {
  return size >= 4 && std::memcmp(data, magic, 4) == 0;
}

uint32_t word(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

FirstFrame findFirstMovieFrame(const uint8_t* data, size_t size) {
  FirstFrame out;
  if (!data || size < 4) return out;
  if (startsWith(data, size, "THOR")) {
    out.result = FirstFrameResult::NoPicture;
    return out;
  }
  size_t at = 0;
  if (startsWith(data, size, "MJPG")) {
    at = kFrameContainerStart;
  } else if (startsWith(data, size, "RIFF")) {
    at = kAviFramesStart;
  } else {
    return out;
  }
  if (size < at || size - at < kChunkHeader || std::memcmp(data + at, "00dc", 4) != 0) {
    out.result = FirstFrameResult::BadChunk;
    return out;
  }
  const size_t length = word(data + at + 4);
  const size_t start = at + kChunkHeader;
  // A chunk longer than the file, or an empty one (a repeat of a frame that is not there), is broken.
  if (length == 0 || length > size - start) {
    out.result = FirstFrameResult::BadChunk;
    return out;
  }
  if (length < 2 || data[start] != 0xFF || data[start + 1] != 0xD8) {
    out.result = FirstFrameResult::NotJpeg;
    return out;
  }
  out.result = FirstFrameResult::Jpeg;
  out.offset = start;
  out.length = length;
  return out;
}

}  // namespace vellum
