#include "sound/sound_system.h"

#include <string>

#include "base/report.h"
#include "platform/audio_device.h"
#include "sound/sound_channel.h"

namespace vellum {

bool createSound() {
  SoundState& state = soundState();
  if (state.created) return true;
  std::string error;
  if (!openAudioDevice(error)) {
    errord(ReportText().ascii("DirectSoundCreate8 ").ascii(error), true);
    return false;
  }
  state.created = true;
  applyCategoryVolumes();
  return true;
}

void shutdownSound() {
  clearDelayedSounds();  // whatever was still queued goes with the channels
  for (int channel = 0; channel < kSoundChannels; ++channel) releaseChannel(channel);
  soundState().created = false;
  soundState().ducked = false;
  closeAudioDevice();
  finishAudioRecording();
}

void resetSound() { shutdownSound(); }

}  // namespace vellum
