// The 30 sound channels. Each loaded channel streams its whole-file source through a looping
// device buffer that its own worker thread refills half by half every 10 ms, applying loop points,
// fades and the volume formula. The category of a channel follows from its number:
// 0 movie, 1-2 music, 3-9 effects, 10-14 system effects, 15-19 system voices, 20-29 voices.
//
// Everything a worker reads lives in a ChannelStream that the worker shares, so a worker that does
// not answer can be left to finish on its own without anything it uses being freed under it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "persist/engine_settings.h"
#include "sound/sound_source.h"
#include "sound/wav_probe.h"

namespace vellum {

constexpr int kSoundChannels = 30;
constexpr int kStatePlaying = 0, kStatePaused = 1, kStateStopped = 2;

VolumeCategory channelCategory(int channel);

// A gradual change of one value over `duration` ms; inactive while duration is 0.
struct Fade {
  int32_t duration = 0;
  double current = 0;
  int32_t start = 0, target = 0;
  uint32_t startTime = 0;
};

struct ChannelStream {
  std::mutex mutex;  // guards every field below against the worker
  std::condition_variable wake;

  int index = 0;
  std::string fileName;  // Shift-JIS; emptied when the sound finishes or is stopped
  uint64_t fileKey = 0;  // of the name loaded; kept when the name is emptied
  std::vector<uint8_t> source;
  WavLayout wav;               // for compressed sources: their channels, rate and total length
  uint64_t readPosition = 0;  // bytes into the sample data (PCM WAV)
  std::unique_ptr<SoundSource> decoder;  // compressed sources
  uint32_t halfSize = 0;
  int64_t fillPosition[2] = {};
  std::shared_ptr<AudioBuffer> buffer;

  int32_t categoryFactor = 0;  // snapshot of the settings, taken on the main thread
  int64_t startPosition = 0, loopStart = 0, loopEnd = 0;  // samples
  int32_t volume = 100, volume2 = 100;
  int32_t pan = 0;
  Fade volumeFade, volume2Fade, panFade;
  bool stopAfterFade = false;
  int state = kStateStopped;
  int tail = 0;
  int32_t loopsRemaining = 0;  // -1 endless
  int64_t resumePosition = 0;  // 0: none

  // Worker hand-shake: `running` 1 runs, 0 asks it to end, -1 it has ended. `begin` asks the worker
  // to fill the first half from the source position and start the buffer (play, resume, seek).
  std::atomic<int> running{1};
  bool begin = false;
  bool poked = false;  // something changed: the worker steps now instead of sleeping on
  int nextHalf = 1;

  int64_t totalSamples() const { return static_cast<int64_t>(wav.dataSize / wav.blockAlign); }
  int64_t tellSample() const {
    return decoder ? decoder->tellSample() : static_cast<int64_t>(readPosition / wav.blockAlign);
  }
  void seekSample(int64_t sample);
  // Bytes read; 0 at the end of the source. A decode error ends the source (no loop restarts it).
  uint64_t readPcm(uint8_t* into, uint64_t bytes);
};

// An endless sound that `sd` met while fast-forwarding: not played, but kept for the state a save
// records, so restoring that state can start it.
struct FastForwardedStart {
  std::string fileName;
  int32_t volume = 100, pan = 0;
};

struct SoundChannel {
  std::shared_ptr<ChannelStream> stream;  // null while nothing is loaded
  std::thread worker;
  std::optional<FastForwardedStart> fastForwarded;  // emptied by the next load or release
};

// What a save records of a channel: its file, loops remaining (-1 endless), volume, pan and the
// position heard (samples). An empty name: nothing to record.
struct ChannelSnapshot {
  std::string fileName;
  int32_t loopsRemaining = 0;
  int32_t volume = 100, pan = 0;
  int64_t position = 0;
};

// What ducking needs of the settings, copied on the main thread for the workers.
struct DuckingSettings {
  std::atomic<int32_t> bgmMax{30}, bgmMin{15}, seMax{100}, seMin{50}, fadeMs{250};
  std::atomic<bool> bgmDown{true}, seDown{true};
};

struct SoundState {
  bool created = false;  // sd_create opened the device
  // Guards the channels' stream pointers: the main thread changes them under it, and workers
  // (ducking other channels) read them under it. Never held while waiting for a worker.
  std::mutex table;
  SoundChannel channels[kSoundChannels];
  // Music and effects are ducked while the first voice channel plays.
  std::atomic<bool> ducked{false};
  std::atomic<bool> voicePlaying{false};
  DuckingSettings ducking;
};

constexpr int kDuckingVoiceChannel = 20;

SoundState& soundState();

// Loads `data` (the whole file) into the channel as `name`. Reports and returns false when the
// device is missing or the data is not a playable sound.
bool loadChannel(int channel, std::string_view name, std::vector<uint8_t> data);
// Plays a loaded channel: loops 0 = endless, 1 = once, n = n - 1 repeats; start in samples.
void playChannel(int channel, int32_t fadeIn, int32_t loops, int64_t start);
// Fade < 2 stops and releases at once; otherwise fades out and then ends the worker.
bool stopChannel(int channel, int32_t fade);
void pauseChannel(int channel, bool pause);
void seekChannel(int channel, int64_t sample);
// One-shot start as `sd` does it: music and effects channels get their normal volume 2 first.
void restoreNormalVolume2(int channel);
void setChannelVolume(int channel, int32_t volume, int32_t fade);
void setChannelVolume2(int channel, int32_t volume, int32_t fade);
void setChannelPan(int channel, int32_t pan, int32_t fade);
void setChannelLoop(int channel, int64_t start, int64_t loopStart, int64_t loopEnd);
// Stops the worker, frees the buffer and the source.
void releaseChannel(int channel);
// Re-applies the category volumes of the settings to every channel's gain.
void applyCategoryVolumes();
// After the settings are read: the category volumes, and music and effects at BgmMax / SeMax.
void applySettingsRead();

// Fast-forwarding through `sd` with loops 0: the channel keeps the name, volume and pan.
void recordFastForwardedStart(int channel, std::string_view name, int32_t volume, int32_t pan);
ChannelSnapshot channelSnapshot(int channel);

int channelState(int channel);
std::string channelFileName(int channel);
int64_t channelNowSample(int channel);
int64_t channelTotalSamples(int channel);
int channelSampleRate(int channel);  // 0 when nothing is loaded

}  // namespace vellum
