#include "sound/wav_probe.h"

#include <cstring>

namespace vellum {

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The first packet of an Ogg stream: the page header is 27 bytes plus its segment table.
bool oggFirstPacketStartsWith(const uint8_t* data, size_t size, const char* magic, size_t magicSize) {
  if (size < 27 || std::memcmp(data, "OggS", 4) != 0) return false;
  const size_t segments = data[26];
  const size_t packet = 27 + segments;
  return size >= packet + magicSize && std::memcmp(data + packet, magic, magicSize) == 0;
}

}  // namespace

SoundFormatKind probeSoundFormat(const uint8_t* data, size_t size) {
  if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0)
    return SoundFormatKind::PcmWav;
  if (oggFirstPacketStartsWith(data, size, "\x01vorbis", 7)) return SoundFormatKind::OggVorbis;
  if (oggFirstPacketStartsWith(data, size, "OpusHead", 8)) return SoundFormatKind::OggOpus;
  return SoundFormatKind::Unknown;
}

bool readWavLayout(const uint8_t* data, size_t size, WavLayout& layout) {
  layout = WavLayout{};
  if (probeSoundFormat(data, size) != SoundFormatKind::PcmWav) return false;
  bool haveFormat = false;
  uint64_t at = 12;
  while (at + 8 <= size) {
    const uint8_t* chunk = data + at;
    const uint64_t length = le32(chunk + 4);
    const uint64_t body = at + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16 || body + 16 > size) return false;
      const uint16_t tag = le16(data + body);
      layout.channels = le16(data + body + 2);
      layout.sampleRate = static_cast<int>(le32(data + body + 4));
      layout.byteRate = le32(data + body + 8);
      layout.blockAlign = le16(data + body + 12);
      const uint16_t bits = le16(data + body + 14);
      if (tag != 1 || bits != 16 || layout.channels < 1 || layout.channels > 2) return false;
      if (layout.sampleRate < 1 || layout.sampleRate > 384000) return false;
      if (layout.blockAlign != static_cast<uint32_t>(layout.channels) * 2) return false;
      // The byte rate follows from the rest; a wrong one in the header is not trusted.
      layout.byteRate = static_cast<uint32_t>(layout.sampleRate) * layout.blockAlign;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return false;
      if (length > size - body) return false;  // truncated
      layout.dataOffset = body;
      layout.dataSize = length / layout.blockAlign * layout.blockAlign;
      return layout.dataSize > 0;
    }
    at = body + length + (length & 1);  // chunks are padded to even sizes
  }
  return false;
}

}  // namespace vellum
