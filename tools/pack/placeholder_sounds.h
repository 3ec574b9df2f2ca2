// Placeholder sounds for a new game, synthesised and written as 16-bit PCM WAV files (mono,
// 22050 Hz), the simplest form the engine plays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum::pack {

struct PlaceholderSound {
  std::string name;  // the file name the starter's scripts use
  std::vector<uint8_t> wav;
};

// The title music (a loop of four soft chords), a chime for a scene's start and a voice line
// (a murmur of syllables).
std::vector<PlaceholderSound> starterSounds();

// A mono 16-bit PCM WAV file of the samples.
std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace vellum::pack
