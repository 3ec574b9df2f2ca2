// Ogg Vorbis sources through libvorbisfile, read from the file held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound_source.h"

namespace vellum {

// What the engine's reader hands the decoder: the whole file and a read position.
struct MemoryReader {
  const uint8_t* data = nullptr;
  uint64_t size = 0;
  uint64_t position = 0;
};

// The reader callbacks: read copies whole elements (an element size of 0 reads nothing), seek
// clamps to the data and returns -1 when it had to, tell gives the position (-1 without a source).
size_t memoryRead(void* into, size_t elementSize, size_t count, void* source);
int memorySeek(void* source, int64_t offset, int origin);
int memoryClose(void* source);
long memoryTell(void* source);

struct VorbisOpenResult {
  std::unique_ptr<SoundSource> source;
  int channels = 0;
  int sampleRate = 0;
  std::vector<std::string> comments;
  bool opened = false;  // false: the stream could not be opened; info missing otherwise
};

// Opens `data` (kept alive by the caller for the source's lifetime).
VorbisOpenResult openVorbis(const std::vector<uint8_t>& data);

}  // namespace vellum
