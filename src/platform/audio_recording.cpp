#include "platform/audio_recording.h"

#include <cerrno>
#include <cstring>

namespace vellum {

namespace {

void putLe(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The canonical 44-byte header; the sizes are capped at what a RIFF file can state.
void fillHeader(uint8_t (&header)[44], int channels, int sampleRate, uint64_t dataBytes) {
  const uint32_t data = dataBytes > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu - 36 : static_cast<uint32_t>(dataBytes);
  const uint32_t blockAlign = static_cast<uint32_t>(channels) * 2;
  std::memcpy(header, "RIFF", 4);
  putLe(header + 4, 36 + data, 4);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  putLe(header + 16, 16, 4);
  putLe(header + 20, 1, 2);  // PCM
  putLe(header + 22, static_cast<uint32_t>(channels), 2);
  putLe(header + 24, static_cast<uint32_t>(sampleRate), 4);
  putLe(header + 28, static_cast<uint32_t>(sampleRate) * blockAlign, 4);
  putLe(header + 32, blockAlign, 2);
  putLe(header + 34, 16, 2);
  std::memcpy(header + 36, "data", 4);
  putLe(header + 40, data, 4);
}

}  // namespace

bool WavRecorder::open(const std::string& path, int channels, int sampleRate, std::string& error) {
  finish();
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  channels_ = channels;
  rate_ = sampleRate;
  uint8_t header[44];
  fillHeader(header, channels, sampleRate, 0);
  std::fwrite(header, 1, sizeof header, file_);
  dataBytes_ = 0;
  return true;
}

void WavRecorder::write(const int16_t* samples, size_t count) {
  if (!file_) return;
  // Samples are stored little-endian; this engine runs on little-endian machines only.
  dataBytes_ += std::fwrite(samples, sizeof(int16_t), count, file_) * sizeof(int16_t);
}

void WavRecorder::finish() {
  if (!file_) return;
  uint8_t header[44];
  fillHeader(header, channels_, rate_, dataBytes_);
  std::fseek(file_, 0, SEEK_SET);
  std::fwrite(header, 1, sizeof header, file_);
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace vellum
