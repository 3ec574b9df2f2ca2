// The sound lines of a save: "Sound%d=name,loops,volume,pan,position" for each of channels 1-9
// that plays or waits for a delayed start (loops as `sd` takes them: 0 without end; position in
// samples). Silent channels write nothing.
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
};

void writeSoundSaveLines(std::string& out);
// False after a report: a malformed line or a sound file that no longer exists.
bool readSoundSaveLines(const SaveBlock& block, std::vector<SoundSaveRecord>& sounds);
// Stops channels 1-9 and starts the saved sounds.
void applySoundSaveLines(const std::vector<SoundSaveRecord>& sounds);

}  // namespace vellum
