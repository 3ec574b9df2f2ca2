// The sd_ commands: one body each, shared by the native script, Lua and Squirrel.
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/engine_state.h"
#include "base/report.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "persist/subsystem_hooks.h"
#include "script/script_state.h"
#include "sound/sound_channel.h"
#include "sound/sound_loading.h"
#include "sound/sound_messages.h"
#include "sound/sound_system.h"

namespace vellum {

namespace {

// One pending request per channel; an empty name is a delayed stop (fadeIn then holds the fade-out).
struct DelayedSound {
  std::string name;
  uint32_t due = 0;
  int32_t fadeIn = 0, volume = 0, pan = 0, loops = 0;
  int64_t start = 0;
};

std::map<int, DelayedSound>& delayedSounds() {
  static std::map<int, DelayedSound> queue;
  return queue;
}

void cancelDelayed(int channel) { delayedSounds().erase(channel); }

// The channel argument, or -1 after reporting one outside 0..29.
int channelArg(void* call, std::string_view command) {
  const int32_t channel = args().getInt(call, 1);
  if (channel >= 0 && channel < kSoundChannels) return channel;
  errorc(ReportText().ascii(command).sjis(sound_messages::kBadChannel), true);
  return -1;
}

bool fastForwarding() { return scriptState().fastForwardMode != 0; }

std::string_view stringArg(void* call, int i) {
  size_t length = 0;
  const char* text = args().getStringLength(call, i, &length);
  return text ? std::string_view(text, length) : std::string_view();
}

int returnNothing(void* call) {
  args().returnNothing(call);
  return 1;
}

int sdCreateBody(void* call) {
  setCurrentCommandName("sd_create");
  createSound();
  return returnNothing(call);
}

int sdLoadBody(void* call) {
  setCurrentCommandName("sd_load");
  const int channel = channelArg(call, "sd_load");
  if (channel >= 0) cancelDelayed(channel);
  if (channel >= 0 && !fastForwarding()) loadSoundFile(channel, stringArg(call, 2));
  return returnNothing(call);
}

int sdPlayBody(void* call) {
  setCurrentCommandName("sd_play");
  const int channel = channelArg(call, "sd_play");
  if (channel >= 0 && !fastForwarding()) {
    setChannelVolume(channel, args().getInt(call, 3), 0);
    setChannelPan(channel, args().getInt(call, 4), 0);
    playChannel(channel, args().getInt(call, 2), args().getInt(call, 5), args().getInt64(call, 6));
  }
  return returnNothing(call);
}

int sdPauseBody(void* call) {
  setCurrentCommandName("sd_pause");
  const int channel = channelArg(call, "sd_pause");
  if (channel >= 0) pauseChannel(channel, args().getInt(call, 2) != 0);
  return returnNothing(call);
}

int sdStopBody(void* call) {
  setCurrentCommandName("sd_stop");
  const int channel = channelArg(call, "sd_stop");
  if (channel >= 0) stopSound(channel, args().getInt(call, 2), args().getInt(call, 3));
  return returnNothing(call);
}

int sdVolumeBody(void* call) {
  setCurrentCommandName("sd_volume");
  const int channel = channelArg(call, "sd_volume");
  if (channel >= 0) setChannelVolume(channel, args().getInt(call, 2), fastForwarding() ? 0 : args().getInt(call, 3));
  return returnNothing(call);
}

int sdVolume2Body(void* call) {
  setCurrentCommandName("sd_volume2");
  const int channel = channelArg(call, "sd_volume2");
  if (channel >= 0) setChannelVolume2(channel, args().getInt(call, 2), fastForwarding() ? 0 : args().getInt(call, 3));
  return returnNothing(call);
}

int sdPanpotBody(void* call) {
  setCurrentCommandName("sd_panpot");
  const int channel = channelArg(call, "sd_panpot");
  if (channel >= 0) setChannelPan(channel, args().getInt(call, 2), fastForwarding() ? 0 : args().getInt(call, 3));
  return returnNothing(call);
}

int returnInt(void* call, int64_t value) {
  const int32_t clamped = static_cast<int32_t>(value < 0 ? 0 : value > INT32_MAX ? INT32_MAX : value);
  args().returnInt(call, args().count[1](call), clamped);
  return 1;
}

int sdStatusBody(void* call) {
  setCurrentCommandName("sd_status");
  const int channel = channelArg(call, "sd_status");
  return returnInt(call, channel >= 0 ? soundStatus(channel) : kStateStopped);
}

int sdGetFileBody(void* call) {
  setCurrentCommandName("sd_getFile");
  const int channel = channelArg(call, "sd_getFile");
  const std::string name = channel >= 0 ? channelFileName(channel) : std::string();
  args().returnBytes(call, args().count[1](call), name.data(), name.size());
  return 1;
}

int64_t samplesToMs(int channel, int64_t samples) {
  const int rate = channelSampleRate(channel);
  return rate ? samples * 1000 / rate : 0;
}

int64_t msToSamples(int channel, int64_t ms) {
  return static_cast<int64_t>(std::trunc(static_cast<double>(ms) * (channelSampleRate(channel) / 1000.0)));
}

int sdNowSampleBody(void* call) {
  setCurrentCommandName("sd_nowSample");
  const int channel = channelArg(call, "sd_nowSample");
  return returnInt(call, channel >= 0 && !delayedSoundPending(channel) ? channelNowSample(channel) : 0);
}

int sdNowTimeBody(void* call) {
  setCurrentCommandName("sd_nowTime");
  const int channel = channelArg(call, "sd_nowTime");
  return returnInt(call, channel >= 0 && !delayedSoundPending(channel) ? samplesToMs(channel, channelNowSample(channel)) : 0);
}

int sdTotalSampleBody(void* call) {
  setCurrentCommandName("sd_totalSample");
  const int channel = channelArg(call, "sd_totalSample");
  return returnInt(call, channel >= 0 && !delayedSoundPending(channel) ? channelTotalSamples(channel) : 0);
}

int sdTotalTimeBody(void* call) {
  setCurrentCommandName("sd_totalTime");
  const int channel = channelArg(call, "sd_totalTime");
  return returnInt(call, channel >= 0 && !delayedSoundPending(channel) ? samplesToMs(channel, channelTotalSamples(channel)) : 0);
}

int sdSeekSampleBody(void* call) {
  setCurrentCommandName("sd_seekSample");
  const int channel = channelArg(call, "sd_seekSample");
  if (channel >= 0 && !delayedSoundPending(channel)) seekChannel(channel, args().getInt64(call, 2));
  return returnNothing(call);
}

int sdSeekTimeBody(void* call) {
  setCurrentCommandName("sd_seekTime");
  const int channel = channelArg(call, "sd_seekTime");
  if (channel >= 0 && !delayedSoundPending(channel)) seekChannel(channel, msToSamples(channel, args().getInt64(call, 2)));
  return returnNothing(call);
}

int sdLoopSampleBody(void* call) {
  setCurrentCommandName("sd_loopSample");
  const int channel = channelArg(call, "sd_loopSample");
  if (channel >= 0) setChannelLoop(channel, args().getInt64(call, 2), args().getInt64(call, 3), args().getInt64(call, 4));
  return returnNothing(call);
}

int sdLoopTimeBody(void* call) {
  setCurrentCommandName("sd_loopTime");
  const int channel = channelArg(call, "sd_loopTime");
  if (channel >= 0)
    setChannelLoop(channel, msToSamples(channel, args().getInt64(call, 2)), msToSamples(channel, args().getInt64(call, 3)),
                   msToSamples(channel, args().getInt64(call, 4)));
  return returnNothing(call);
}

int sdBody(void* call) {
  setCurrentCommandName("sd");
  const int channel = channelArg(call, "sd");
  if (channel >= 0)
    startSound(channel, stringArg(call, 2), args().getInt(call, 3), args().getInt(call, 4), args().getInt(call, 5),
               args().getInt(call, 6), args().getInt(call, 7), args().getInt64(call, 8));
  return returnNothing(call);
}

}  // namespace

int startSound(int channel, std::string_view name, int32_t fadeIn, int32_t delay, int32_t volume, int32_t pan,
               int32_t loops, int64_t start) {
  if (channel < 0 || channel >= kSoundChannels) return -1;
  cancelDelayed(channel);
  if (fastForwarding()) {
    // Stopped at once; an endless sound is kept for the saved state, which can start it later.
    stopChannel(channel, 0);
    releaseChannel(channel);
    if (loops == 0) recordFastForwardedStart(channel, name, volume, pan);
    return 0;
  }
  if (delay > 0) {
    delayedSounds()[channel] =
        DelayedSound{std::string(name), tickMilliseconds() + static_cast<uint32_t>(delay), fadeIn, volume, pan, loops, start};
    return 0;
  }
  if (!loadSoundFile(channel, name)) return -1;
  restoreNormalVolume2(channel);
  setChannelVolume(channel, volume, 0);
  setChannelPan(channel, pan, 0);
  playChannel(channel, fadeIn, loops, start);
  return 0;
}

void stopSound(int channel, int32_t fade, int32_t delay) {
  if (channel < 0 || channel >= kSoundChannels) return;
  cancelDelayed(channel);
  if (delay > 0) {
    DelayedSound stop;
    stop.due = tickMilliseconds() + static_cast<uint32_t>(delay);
    stop.fadeIn = fade;
    delayedSounds()[channel] = stop;
  } else {
    stopChannel(channel, fade);
  }
}

int soundStatus(int channel) {
  if (channel < 0 || channel >= kSoundChannels) return kStateStopped;
  return delayedSoundPending(channel) ? 0 : channelState(channel);
}

bool delayedSoundPending(int channel) { return delayedSounds().count(channel) != 0; }

bool delayedSoundsQueued() { return !delayedSounds().empty(); }

void clearDelayedSounds() { delayedSounds().clear(); }

bool pendingSoundStart(int channel, PendingSoundStart& start) {
  const auto it = delayedSounds().find(channel);
  if (it == delayedSounds().end() || it->second.name.empty()) return false;
  const DelayedSound& d = it->second;
  start = {d.name, d.volume, d.pan, d.loops, d.start, d.due, d.fadeIn};
  return true;
}

void processDelayedSounds(uint32_t now) {
  auto& queue = delayedSounds();
  for (auto it = queue.begin(); it != queue.end();) {
    if (static_cast<int32_t>(now - it->second.due) < 0) {
      ++it;
      continue;
    }
    // Taken off the queue first: a start that fails is reported by the load, once, and dropped.
    const int channel = it->first;
    const DelayedSound request = std::move(it->second);
    it = queue.erase(it);
    if (request.name.empty()) {
      stopChannel(channel, request.fadeIn);
    } else if (loadSoundFile(channel, request.name)) {
      setChannelVolume(channel, request.volume, 0);
      setChannelPan(channel, request.pan, 0);
      playChannel(channel, request.fadeIn, request.loops, request.start);
    }
  }
}

void provideSoundCommands() {
  provideCommand("sd", &sdBody);
  setChannelVolumesHook(&applyCategoryVolumes);
  setSettingsReadHook(&applySettingsRead);
  provideCommand("sd_create", &sdCreateBody);
  provideCommand("sd_load", &sdLoadBody);
  provideCommand("sd_play", &sdPlayBody);
  provideCommand("sd_pause", &sdPauseBody);
  provideCommand("sd_stop", &sdStopBody);
  provideCommand("sd_volume", &sdVolumeBody);
  provideCommand("sd_volume2", &sdVolume2Body);
  provideCommand("sd_panpot", &sdPanpotBody);
  provideCommand("sd_status", &sdStatusBody);
  provideCommand("sd_getFile", &sdGetFileBody);
  provideCommand("sd_seekTime", &sdSeekTimeBody);
  provideCommand("sd_nowTime", &sdNowTimeBody);
  provideCommand("sd_totalTime", &sdTotalTimeBody);
  provideCommand("sd_loopTime", &sdLoopTimeBody);
  provideCommand("sd_seekSample", &sdSeekSampleBody);
  provideCommand("sd_nowSample", &sdNowSampleBody);
  provideCommand("sd_totalSample", &sdTotalSampleBody);
  provideCommand("sd_loopSample", &sdLoopSampleBody);
}

}  // namespace vellum
