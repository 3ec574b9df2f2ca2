// A 16-bit PCM WAV file written as the mixer produces audio: the header is written first with
// placeholder sizes, and its sizes are filled in when the recording finishes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vellum {

class WavRecorder {
 public:
  WavRecorder() = default;
  WavRecorder(const WavRecorder&) = delete;
  WavRecorder& operator=(const WavRecorder&) = delete;
  ~WavRecorder() { finish(); }

  // Creates the file (truncating it) and writes a header for `channels` × `sampleRate`.
  bool open(const std::string& path, int channels, int sampleRate, std::string& error);
  bool isOpen() const { return file_ != nullptr; }
  void write(const int16_t* samples, size_t count);
  // Fills in the sizes and closes the file.
  void finish();

 private:
  std::FILE* file_ = nullptr;
  uint64_t dataBytes_ = 0;
  int channels_ = 2, rate_ = 44100;
};

}  // namespace vellum
