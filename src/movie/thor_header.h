// The THOR movie file: a 44-byte header of little-endian words, an optional embedded sound file
// (WAV or Ogg Vorbis) and an Ogg Theora video stream, in that order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellum {

inline constexpr size_t kThorHeaderSize = 44;

struct ThorHeader {
  uint32_t videoLength = 0;  // bytes of the Theora stream
  uint32_t durationMs = 0;
  uint32_t frameCount = 0;
  uint32_t width = 0, height = 0;
  uint32_t soundLength = 0;  // bytes of the embedded sound file; 0 for a silent movie
  uint32_t word8 = 0, word12 = 0, word16 = 0, word36 = 0;  // kept as written, not interpreted

  uint64_t soundOffset() const { return kThorHeaderSize; }
  uint64_t videoOffset() const { return kThorHeaderSize + uint64_t{soundLength}; }
};

// The largest picture side a movie may have.
inline constexpr uint32_t kMaxMovieSide = 8192;

// Reads and checks a header. `fileSize` is the whole file's size when known (0: unknown): the
// sound and the video must lie inside it. On failure `problem` says what is wrong (plain ASCII).
bool parseThorHeader(const uint8_t* bytes, size_t size, uint64_t fileSize, ThorHeader& header, std::string& problem);

// The 44 header bytes of `header`.
void writeThorHeader(const ThorHeader& header, uint8_t out[kThorHeaderSize]);

}  // namespace vellum
