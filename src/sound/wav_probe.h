// Recognising a sound file held in memory and, for PCM WAV, finding its sample data. The bytes are
// untrusted: every size is checked against the file before it is used.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

enum class SoundFormatKind : int { PcmWav = 0, OggVorbis = 1, OggOpus = 2, Unknown = 3 };

struct WavLayout {
  int channels = 0;
  int sampleRate = 0;
  uint32_t byteRate = 0;
  uint32_t blockAlign = 0;
  uint64_t dataOffset = 0;  // first byte of the samples
  uint64_t dataSize = 0;    // whole frames only, within the file
};

// What the bytes are. Ogg streams are told apart by their first packet.
SoundFormatKind probeSoundFormat(const uint8_t* data, size_t size);

// Reads a RIFF/WAVE file: 16-bit PCM, 1 or 2 channels, 1..384000 Hz. Chunks are walked rather than
// read at fixed offsets, so headers with extra chunks play too. A data chunk that claims more than
// the file holds (a truncated file) and anything else is refused.
bool readWavLayout(const uint8_t* data, size_t size, WavLayout& layout);

}  // namespace vellum
