#include "engine/speech_hooks.h"

#include <array>
#include <cstdint>
#include <string>

#include "shell/services/speech_service.h"
#include "sound/sound_channel.h"
#include "sound/sound_system.h"
#include "text/text_sprites.h"

namespace vellum {

namespace {

// What a voice channel plays: its file and how far it is (nothing when it is silent).
struct HeardVoice {
  std::string name;
  int64_t sample = 0;
};

std::array<HeardVoice, kSoundChannels>& heardVoices() {
  static std::array<HeardVoice, kSoundChannels> heard;
  return heard;
}

bool isVoiceChannel(int channel) { return channelCategory(channel) == VolumeCategory::Vo; }

HeardVoice voiceNow(int channel) {
  if (soundStatus(channel) != kStatePlaying) return {};
  return {channelFileName(channel), channelNowSample(channel)};
}

void takeVoiceStock() {
  for (int channel = 0; channel < kSoundChannels; ++channel)
    if (isVoiceChannel(channel)) heardVoices()[static_cast<size_t>(channel)] = voiceNow(channel);
}

// A voice that was not playing at the last stock, or has started again since (it is less far).
bool voiceStartedSinceStock() {
  for (int channel = 0; channel < kSoundChannels; ++channel) {
    if (!isVoiceChannel(channel)) continue;
    if (delayedSoundPending(channel)) return true;
    const HeardVoice now = voiceNow(channel);
    const HeardVoice& then = heardVoices()[static_cast<size_t>(channel)];
    if (!now.name.empty() && (now.name != then.name || now.sample < then.sample)) return true;
  }
  return false;
}

}  // namespace

void installSpeechHooks() {
  heardVoices() = {};
  setVoiceLineProbe({&takeVoiceStock, &voiceStartedSinceStock});
  setButtonLabelSource(&spriteLabel);
}

}  // namespace vellum
