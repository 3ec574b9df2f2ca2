#include "placeholder_sounds.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace vellum::pack {

namespace {

constexpr int kRate = 22050;

double noteFrequency(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

std::vector<int16_t> toSamples(const std::vector<double>& signal) {
  std::vector<int16_t> out(signal.size());
  std::transform(signal.begin(), signal.end(), out.begin(), [](double v) {
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
  });
  return out;
}

// Four chords (Am F C G), two seconds each, each swelling in and out so the loop has no seam.
std::vector<int16_t> music() {
  const std::initializer_list<std::initializer_list<int>> chords = {{-12, -9, -5}, {-16, -12, -9}, {-21, -17, -14}, {-14, -10, -7}};
  const int chordLength = 2 * kRate;
  std::vector<double> signal;
  for (const auto& chord : chords) {
    for (int i = 0; i < chordLength; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double envelope = std::sin(std::numbers::pi * i / chordLength);
      double v = 0;
      for (const int note : chord) v += std::sin(2 * std::numbers::pi * noteFrequency(note) * t);
      signal.push_back(0.18 * envelope * v);
    }
  }
  return toSamples(signal);
}

// Two plucked notes dying away.
std::vector<int16_t> chime() {
  std::vector<double> signal(static_cast<size_t>(kRate * 3 / 2));
  for (size_t i = 0; i < signal.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    signal[i] = 0.35 * std::exp(-3 * t) * std::sin(2 * std::numbers::pi * noteFrequency(15) * t);
    if (t > 0.25)
      signal[i] += 0.3 * std::exp(-3 * (t - 0.25)) * std::sin(2 * std::numbers::pi * noteFrequency(22) * (t - 0.25));
  }
  return toSamples(signal);
}

// A voice without words: six syllables of a gliding hum with a vowel-like overtone.
std::vector<int16_t> murmur() {
  const int syllables = 6, syllableLength = kRate / 5;
  std::vector<double> signal(static_cast<size_t>(syllables * syllableLength));
  double phase = 0;
  for (size_t i = 0; i < signal.size(); ++i) {
    const int s = static_cast<int>(i) / syllableLength;
    const double within = static_cast<double>(static_cast<int>(i) % syllableLength) / syllableLength;
    const double pitch = 200 + 30 * std::sin(s * 1.7) - 25 * within;
    phase += 2 * std::numbers::pi * pitch / kRate;
    const double envelope = std::sin(std::numbers::pi * within);
    signal[i] = 0.4 * envelope * (std::sin(phase) + 0.5 * std::sin(3 * phase) + 0.25 * std::sin(5 * phase)) / 1.75;
  }
  return toSamples(signal);
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void putTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<uint32_t>(sampleRate));
  put32(out, static_cast<uint32_t>(sampleRate) * 2);  // bytes a second
  put16(out, 2);                                      // bytes a frame
  put16(out, 16);                                     // bits a sample
  putTag(out, "data");
  put32(out, dataBytes);
  for (const int16_t s : samples) put16(out, static_cast<uint16_t>(s));
  return out;
}

std::vector<PlaceholderSound> starterSounds() {
  return {{"bgm.wav", wavFile(music(), kRate)}, {"chime.wav", wavFile(chime(), kRate)}, {"voice.wav", wavFile(murmur(), kRate)}};
}

}  // namespace vellum::pack
