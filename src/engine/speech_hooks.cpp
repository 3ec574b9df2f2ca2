#include "engine/speech_hooks.h"

#include "shell/services/speech_service.h"
#include "sound/sound_channel.h"
#include "sound/sound_system.h"
#include "text/text_sprites.h"

namespace vellum {

namespace {

// A voice channel playing, or about to start a queued voice.
bool voiceLinePlaying() {
  for (int channel = 0; channel < kSoundChannels; ++channel)
    if (channelCategory(channel) == VolumeCategory::Vo && soundStatus(channel) == kStatePlaying) return true;
  return false;
}

}  // namespace

void installSpeechHooks() {
  setVoicePlayingProbe(&voiceLinePlaying);
  setButtonLabelSource(&spriteLabel);
}

}  // namespace vellum
