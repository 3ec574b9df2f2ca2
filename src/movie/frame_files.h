// Frame files for sp_ani: an AVI file of MJPG frames, or the engine's own MJPG container (a 44-byte
// header like a movie's, then the frame chunks). Chunks are a four-byte tag and a little-endian
// length: "00dc" carries one JPEG or PNG frame (a length of 0 repeats the previous one), "idx1"
// and "EOF " end the frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellum {

struct FrameFileLayout {
  bool avi = false;          // RIFF chunks are padded to even lengths
  uint32_t frameCount = 0;
  uint32_t passDurationMs = 0;
  uint32_t width = 0, height = 0;
  uint64_t firstChunk = 0;   // offset of the first frame chunk
};

// Reads the header. `frameRate` (sp_ani's argument, 0 for none) gives the MJPG container's timing
// as frames x 1000 / rate; an AVI file's own rate replaces it. False with `problem` set.
bool readFrameFileLayout(const uint8_t* bytes, size_t size, int32_t frameRate, FrameFileLayout& layout,
                         std::string& problem);

struct FrameChunk {
  enum Kind { Frame, Repeat, End, Bad } kind = End;
  uint64_t offset = 0;  // of the frame's bytes
  uint32_t length = 0;
  uint32_t tag = 0;     // the chunk's tag as a little-endian word (for reports)
};

// The chunk whose 8-byte header `head` lies at `position` of a file of `size` bytes; `next` is set
// past it (frames only).
FrameChunk readChunkHeader(const uint8_t* head, uint64_t position, uint64_t size, bool padded, uint64_t& next);

// The chunk at `position` (advanced past it). Chunks running past the end are Bad; the end of
// the bytes is End.
FrameChunk nextFrameChunk(const uint8_t* bytes, size_t size, uint64_t& position, bool padded);

}  // namespace vellum
