#include "sound/sound_system.h"

#include <string>

#include "base/report.h"
#include "platform/audio_device.h"
#include "sound/sound_channel.h"
#include "sound/sound_device_errors.h"
#include "sound/sound_preload.h"
#include "sound/vorbis_decoder_table.h"

namespace vellum {

bool createSound() {
  SoundState& state = soundState();
  // Without the decoder Ogg Vorbis files are refused when loaded; WAV still plays.
  loadVorbisDecoder();
  if (state.created) return true;
  std::string error;
  if (!openAudioDevice(error)) {
    errord(ReportText().ascii("DirectSoundCreate8 ").ascii(soundErrorName(sound_result::kNoDriver)), true);
    return false;
  }
  state.created = true;
  applyDecoderCpuFeatures();  // one word for every channel's stream
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
  unloadVorbisDecoder();
  clearPreloadedSounds();
}

void resetSound() { shutdownSound(); }

}  // namespace vellum
