// WAV files for the sound tests: writing test signals and reading recordings back.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vellum::test {

struct WavData {
  bool valid = false;
  int formatTag = 0, channels = 0, sampleRate = 0, bitsPerSample = 0;
  uint32_t declaredDataBytes = 0;
  std::vector<int16_t> samples;  // interleaved
};

inline uint32_t readLe(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return value;
}

// A canonical 44-byte-header PCM WAV in memory.
inline std::string makeWav(const std::vector<int16_t>& samples, int channels, int sampleRate) {
  std::string out(44, '\0');
  auto put = [&out](size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out[at + i] = static_cast<char>(value >> (8 * i));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::memcpy(out.data(), "RIFF", 4);
  put(4, 36 + dataBytes, 4);
  std::memcpy(out.data() + 8, "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);
  put(22, static_cast<uint32_t>(channels), 2);
  put(24, static_cast<uint32_t>(sampleRate), 4);
  put(28, static_cast<uint32_t>(sampleRate * channels * 2), 4);
  put(32, static_cast<uint32_t>(channels * 2), 2);
  put(34, 16, 2);
  std::memcpy(out.data() + 36, "data", 4);
  put(40, dataBytes, 4);
  out.append(reinterpret_cast<const char*>(samples.data()), dataBytes);
  return out;
}

inline WavData readWav(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  WavData wav;
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0) return wav;
  wav.formatTag = static_cast<int>(readLe(bytes, 20, 2));
  wav.channels = static_cast<int>(readLe(bytes, 22, 2));
  wav.sampleRate = static_cast<int>(readLe(bytes, 24, 4));
  wav.bitsPerSample = static_cast<int>(readLe(bytes, 34, 2));
  wav.declaredDataBytes = readLe(bytes, 40, 4);
  const size_t count = (bytes.size() - 44) / 2;
  wav.samples.resize(count);
  if (count > 0) std::memcpy(wav.samples.data(), bytes.data() + 44, count * 2);
  wav.valid = true;
  return wav;
}

// Index of the first sample frame (stereo) whose left channel is `value`, or -1.
inline long findFrame(const std::vector<int16_t>& stereo, int16_t value, size_t from = 0) {
  for (size_t i = from * 2; i + 1 < stereo.size(); i += 2)
    if (stereo[i] == value) return static_cast<long>(i / 2);
  return -1;
}

// How a recorded tone sounds in the left channel of stereo samples: sign changes (twice the
// cycles heard) and the highest sample.
struct ToneHeard {
  int crossings = 0;
  int peak = 0;
};

inline ToneHeard measureLeftTone(const std::vector<int16_t>& stereo) {
  ToneHeard tone;
  for (size_t i = 2; i < stereo.size(); i += 2) {
    if ((stereo[i - 2] < 0) != (stereo[i] < 0)) ++tone.crossings;
    tone.peak = std::max<int>(tone.peak, stereo[i]);
  }
  return tone;
}

}  // namespace vellum::test
