// The sound lines of a save: "Sound%d=name,loops,volume,pan,position" for each of channels 1-9
// that plays or waits for a delayed start (loops as `sd` takes them: 0 without end; position in
// samples). A start still waiting for its delay adds ",delay,fadeIn" (the milliseconds left, so the
// load waits as long again, and its fade-in). Silent channels write nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "persist/save_text.h"

namespace vellum {

struct SoundSaveRecord {
  int channel = 0;
  std::string name;
  int32_t loops = 0, volume = 100, pan = 0;
  int64_t position = 0;
  int32_t delay = 0, fadeIn = 0;  // a start still waiting: milliseconds left (0 = starts at once)
};

void writeSoundSaveLines(std::string& out, uint32_t now);
// False after a report: a malformed line or a sound file that no longer exists.
bool readSoundSaveLines(const SaveBlock& block, std::vector<SoundSaveRecord>& sounds);
// Stops channels 1-9 and starts the saved sounds.
void applySoundSaveLines(const std::vector<SoundSaveRecord>& sounds);

}  // namespace vellum
