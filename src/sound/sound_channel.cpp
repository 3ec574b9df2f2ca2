#include "sound/sound_channel.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <system_error>

#include "base/clock.h"
#include "base/report.h"
#include "storage/hashes.h"
#include "sound/gain_law.h"
#include "sound/sound_device_errors.h"
#include "sound/loop_comment.h"
#include "sound/sound_messages.h"
#include "sound/sound_preload.h"
#include "sound/opus_source.h"
#include "sound/vorbis_source.h"

namespace vellum {

namespace {

using Lock = std::unique_lock<std::mutex>;
constexpr auto kWorkerPeriod = std::chrono::milliseconds(10);
// The longest sleeps of a playing and of an idle worker. Every change a worker must act on wakes it,
// and the voice channel's own worker starts and ends the ducking, so these are only a safety net.
constexpr auto kPlayingWait = std::chrono::milliseconds(250);
constexpr auto kIdleWait = std::chrono::milliseconds(1000);
constexpr uint32_t kStopWaitMs = 1000;

std::shared_ptr<ChannelStream> streamOf(int channel) {
  if (channel < 0 || channel >= kSoundChannels) return nullptr;
  std::lock_guard table(soundState().table);
  return soundState().channels[channel].stream;
}

FastForwardedStart* fastForwardedStart(int channel) {
  if (channel < 0 || channel >= kSoundChannels) return nullptr;
  auto& start = soundState().channels[channel].fastForwarded;
  return start ? &*start : nullptr;
}

// Main thread: the category factor from the settings.
int32_t categoryFactorOf(int channel) {
  EngineSettings& s = settings();
  const VolumeSetting& master = s.volume(VolumeCategory::Master);
  const VolumeSetting& own = s.volume(channelCategory(channel));
  return categoryFactor(own.mute, master.mute, master.volume, own.volume);
}

// Stream lock held. Sets the buffer's volume from the fading or stored values.
void applyGain(ChannelStream& s) {
  const double volume = s.volumeFade.duration ? s.volumeFade.current : s.volume;
  const double volume2 = s.volume2Fade.duration ? s.volume2Fade.current : s.volume2;
  if (s.buffer) s.buffer->setVolume(gainToHundredths(volume, volume2, s.categoryFactor));
}

// Stream lock held. Every change of state goes through here so the ducking flag can follow the
// voice channel without taking its lock.
void setState(ChannelStream& s, int state) {
  s.state = state;
  if (s.index == kDuckingVoiceChannel) soundState().voicePlaying = state == kStatePlaying;
}

void applyPan(ChannelStream& s) {
  if (s.buffer) s.buffer->setPan(panToHundredths(s.panFade.duration ? s.panFade.current : s.pan));
}

// Stream lock held: the worker takes up what the main thread (or ducking) just changed.
void wakeWorker(ChannelStream& s) {
  s.poked = true;
  s.wake.notify_all();
}

void startFade(Fade& fade, int32_t from, int32_t to, int32_t duration) {
  // A running fade's current value is where the new one starts.
  fade.start = fade.duration ? static_cast<int32_t>(fade.current) : from;
  fade.current = fade.start;
  fade.target = to;
  fade.duration = duration;
  fade.startTime = tickMilliseconds();
}

// Moves a fade on; true when it has just ended (the stored value then becomes the target).
bool stepFade(Fade& fade, int32_t& stored, uint32_t now) {
  if (!fade.duration) return false;
  const int64_t elapsed = static_cast<int64_t>(now - fade.startTime);
  if (elapsed > fade.duration) {
    stored = fade.target;
    fade.current = fade.target;
    fade.duration = 0;
    return true;
  }
  fade.current = fade.start + static_cast<double>(static_cast<int64_t>(fade.target - fade.start) * elapsed) / fade.duration;
  return false;
}

// Stream lock held: volume 2 to `volume`, faded over `fade` ms while playing.
void fadeVolume2(ChannelStream& s, int32_t volume, int32_t fade) {
  volume = std::clamp(volume, 0, 100);
  if (fade < 2 || s.state != kStatePlaying) {
    s.volume2 = volume;
    s.volume2Fade.duration = 0;
    applyGain(s);
    return;
  }
  if (volume == s.volume2 && !s.volume2Fade.duration) return;
  startFade(s.volume2Fade, s.volume2, volume, fade);
  wakeWorker(s);
}

// Worker, no stream lock held: music and effects go down while the voice channel plays and come
// back (four times slower) when it stops. Whichever worker sees the change first does it.
void duckingStep() {
  SoundState& state = soundState();
  const DuckingSettings& d = state.ducking;
  const bool voice = state.voicePlaying;
  bool expected = !voice;
  if (!state.ducked.compare_exchange_strong(expected, voice)) return;
  const int32_t fade = voice ? d.fadeMs.load() : 4 * d.fadeMs.load();
  for (int channel = 1; channel <= 9; ++channel) {
    const bool music = channel <= 2;
    if (voice && !(music ? d.bgmDown : d.seDown)) continue;
    const int32_t target = music ? (voice ? d.bgmMin : d.bgmMax) : (voice ? d.seMin : d.seMax);
    auto stream = streamOf(channel);
    if (!stream) continue;
    Lock lock(stream->mutex);
    fadeVolume2(*stream, target, fade);
  }
}

// Worker, stream lock held: writes one half of the buffer from the source (or silence).
void fillHalf(ChannelStream& s, int half) {
  uint8_t *first, *second;
  uint32_t bytes, wrapped;
  if (!s.buffer->lock(static_cast<uint32_t>(half) * s.halfSize, s.halfSize, first, bytes, second, wrapped)) {
    s.running = 0;
    return;
  }
  s.fillPosition[half] = s.tellSample();
  if (s.state != kStatePlaying || s.tail > 0) {
    std::memset(first, 0, bytes);
    if (s.tail > 0 && --s.tail == 0) {
      setState(s, kStateStopped);
      s.fileName.clear();
    }
    s.buffer->unlock();
    return;
  }
  const uint32_t align = s.wav.blockAlign;
  uint64_t written = 0;
  int emptyReads = 0;
  while (written < bytes) {
    uint64_t wanted = bytes - written;
    const int64_t now = s.tellSample();
    // Stop exactly at the loop end while loops remain.
    if (s.loopsRemaining != 0 && s.loopEnd > now) wanted = std::min<uint64_t>(wanted, static_cast<uint64_t>(s.loopEnd - now) * align);
    const uint64_t got = s.readPcm(first + written, wanted);
    written += got;
    if (got == 0) {
      // End of the source: with no loops left, silence and two silent halves; else from the start.
      if (s.loopsRemaining == 0 || ++emptyReads > 2) {
        std::memset(first + written, 0, bytes - written);
        s.tail = 2;
        break;
      }
      if (s.loopsRemaining > 0) --s.loopsRemaining;
      s.seekSample(s.startPosition);
      continue;
    }
    emptyReads = 0;
    if (s.loopsRemaining != 0 && s.loopEnd > s.loopStart && s.tellSample() >= s.loopEnd) {
      if (s.loopsRemaining > 0) --s.loopsRemaining;
      s.seekSample(s.loopStart);
    }
  }
  s.buffer->unlock();
}

// Worker, stream lock held: one 10 ms step. False when the worker should end.
bool workerStep(ChannelStream& s) {
  const uint32_t now = tickMilliseconds();
  if (s.panFade.duration) {
    stepFade(s.panFade, s.pan, now);
    applyPan(s);
  }
  if (s.volumeFade.duration || s.volume2Fade.duration) {
    const bool volumeEnded = stepFade(s.volumeFade, s.volume, now);
    stepFade(s.volume2Fade, s.volume2, now);
    applyGain(s);
    if (volumeEnded && s.stopAfterFade) return false;
  }
  if (s.begin) {
    s.begin = false;
    s.buffer->stop();
    s.buffer->setCurrentPosition(0);
    fillHalf(s, 0);
    s.nextHalf = 1;
    s.buffer->play(true);
  }
  if (s.state != kStatePlaying || !s.buffer->playing()) return s.running != 0;
  const int playingHalf = s.buffer->currentPosition() >= s.halfSize ? 1 : 0;
  if (playingHalf != s.nextHalf) {
    fillHalf(s, s.nextHalf);
    s.nextHalf ^= 1;
  }
  return s.running != 0;
}

// Stream lock held. How long the worker may sleep before its next step: one period while anything
// fades; while playing, until just after the play cursor leaves its half (when the half behind it
// wants refilling); idle, a long while. Anything new from the main thread wakes it (wakeWorker).
std::chrono::milliseconds workerWait(const ChannelStream& s) {
  using std::chrono::milliseconds;
  if (s.volumeFade.duration || s.volume2Fade.duration || s.panFade.duration) return kWorkerPeriod;
  if (s.state != kStatePlaying || !s.buffer->playing()) return kIdleWait;
  const uint32_t cursor = s.buffer->currentPosition();
  const uint32_t halfEnd = (cursor >= s.halfSize ? 2 : 1) * s.halfSize;
  const uint64_t ms = static_cast<uint64_t>(halfEnd - std::min(cursor, halfEnd)) * 1000 / s.wav.byteRate + 1;
  return milliseconds(std::min<uint64_t>(ms, kPlayingWait.count()));
}

void workerMain(std::shared_ptr<ChannelStream> stream) {
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  while (s.running != 0 && workerStep(s)) {
    s.wake.wait_for(lock, workerWait(s), [&] { return s.running == 0 || s.poked; });
    s.poked = false;
    lock.unlock();
    duckingStep();
    lock.lock();
  }
  if (s.buffer) s.buffer->stop();
  setState(s, kStateStopped);
  s.running = -1;
  s.wake.notify_all();
  lock.unlock();
  // The voice channel's own worker brings music and effects back when it ends: the others may be
  // sleeping until their next refill.
  if (s.index == kDuckingVoiceChannel) duckingStep();
}

// The stop hand-shake: asks the worker to end and waits up to a second. A worker that does not
// answer is left to end on its own (it holds its stream) and reported.
void stopWorker(SoundChannel& channel) {
  if (!channel.worker.joinable()) return;
  ChannelStream& s = *channel.stream;
  Lock lock(s.mutex);
  if (s.running > 0) s.running = 0;
  s.wake.notify_all();
  const bool ended =
      s.wake.wait_for(lock, std::chrono::milliseconds(kStopWaitMs), [&] { return s.running.load() == -1; });
  lock.unlock();
  if (ended) {
    channel.worker.join();
  } else {
    channel.worker.detach();
    errord(ReportText(sound_messages::kWorkerDidNotEnd, CodePage::ShiftJis), true);
  }
}

}  // namespace

VolumeCategory channelCategory(int channel) {
  if (channel == 0) return VolumeCategory::Movie;
  if (channel <= 2) return VolumeCategory::Bgm;
  if (channel <= 9) return VolumeCategory::Se;
  if (channel <= 14) return VolumeCategory::SysSe;
  if (channel <= 19) return VolumeCategory::SysVo;
  return VolumeCategory::Vo;
}

SoundState& soundState() {
  static SoundState state;
  return state;
}

void ChannelStream::seekSample(int64_t sample) {
  if (decoder) {
    decoder->seekSample(sample);
    return;
  }
  const uint64_t target = static_cast<uint64_t>(std::max<int64_t>(sample, 0)) * wav.blockAlign;
  readPosition = std::min(target, wav.dataSize);
}

uint64_t ChannelStream::readPcm(uint8_t* into, uint64_t bytes) {
  if (decoder) {
    const int64_t got = decoder->read(into, bytes);
    if (got > 0) return static_cast<uint64_t>(got);
    if (got < 0) loopsRemaining = 0;
    return 0;
  }
  const uint64_t n = std::min(bytes, wav.dataSize - readPosition);
  std::memcpy(into, source.data() + wav.dataOffset + readPosition, n);
  readPosition += n;
  return n;
}

namespace {

// Opens an Ogg (Vorbis or Opus) source on the channel's data: its format, length and loop comment.
bool openOggSource(ChannelStream& s, std::string_view name, SoundFormatKind kind) {
  VorbisOpenResult opened = kind == SoundFormatKind::OggOpus ? openOpus(s.source) : openVorbis(s.source);
  if (!opened.opened) {
    errorc(ReportText().sjis(name).sjis(sound_messages::kOpenFailed), true);
    return false;
  }
  if (!opened.source) {
    errorc(ReportText().sjis(name).sjis(sound_messages::kNoStreamInfo), true);
    return false;
  }
  s.decoder = std::move(opened.source);
  s.wav.channels = opened.channels;
  s.wav.sampleRate = opened.sampleRate;
  s.wav.blockAlign = static_cast<uint32_t>(opened.channels) * 2;
  s.wav.byteRate = static_cast<uint32_t>(opened.sampleRate) * s.wav.blockAlign;
  s.wav.dataSize = static_cast<uint64_t>(s.decoder->totalSamples()) * s.wav.blockAlign;
  if (s.wav.dataSize == 0) {
    errorc(ReportText().sjis(name).sjis(sound_messages::kNoStreamInfo), true);
    return false;
  }
  std::vector<std::string_view> comments(opened.comments.begin(), opened.comments.end());
  LoopPoints points;
  switch (parseLoopComment(comments, opened.sampleRate, points)) {
    case LoopCommentResult::Found: {
      const int64_t total = s.totalSamples();
      s.startPosition = std::clamp<int64_t>(points.start, 0, total);
      s.loopStart = std::clamp<int64_t>(points.loopStart, 0, total);
      s.loopEnd = std::clamp<int64_t>(points.loopEnd, 0, total);
      if (s.loopEnd <= s.loopStart) {
        s.loopStart = 0;
        s.loopEnd = total;
      }
      return true;
    }
    case LoopCommentResult::WrongCount:
      showErrorBox(ReportText().sjis(name).sjis(sound_messages::kLoopCommentCount));
      break;
    case LoopCommentResult::None:
      break;
  }
  s.loopEnd = s.totalSamples();
  return true;
}

// The channel's buffer, where the settings ask for it. A sound card that cannot mix it is said once;
// the rest of the run (and the saved settings) then mix in software.
bool createChannelBuffer(ChannelStream& s, std::string_view name) {
  EngineSettings& set = settings();
  const AudioFormat format{s.wav.channels, s.wav.sampleRate};
  AudioBufferPlacement placement{set.hardwareSound != 0, set.globalFocus != 0};
  AudioFailure failure;
  s.buffer = createAudioBuffer(format, s.halfSize * 2, placement, failure);
  if (s.buffer) return true;
  const auto report = [&](std::string_view operation) {
    errorc(ReportText().sjis(name).ascii(operation).ascii(soundErrorName(soundResultOf(failure.code))), true);
    return false;
  };
  if (!placement.hardware) return report(" CreateSoundBuffer SoftWare ");
  showErrorBox(ReportText(sound_messages::kHardwareBufferFailed, CodePage::ShiftJis));
  set.hardwareSound = 0;
  placement.hardware = false;
  s.buffer = createAudioBuffer(format, s.halfSize * 2, placement, failure);
  return s.buffer ? true : report(" CreateSoundBuffer HardWare ");
}

}  // namespace

bool loadChannel(int channel, std::string_view name, std::vector<uint8_t> data) {
  if (channel < 0 || channel >= kSoundChannels || !soundState().created || !audioDeviceIsOpen()) {
    dropPreloadedSound(crc64Of(name));
    return false;
  }
  releaseChannel(channel);
  auto stream = std::make_shared<ChannelStream>();
  ChannelStream& s = *stream;
  s.index = channel;
  s.fileName.assign(name);
  s.fileKey = crc64Of(name);
  s.source = std::move(data);
  const SoundFormatKind kind = probeSoundFormat(s.source.data(), s.source.size());
  if (kind == SoundFormatKind::OggVorbis || kind == SoundFormatKind::OggOpus) {
    if (!openOggSource(s, name, kind)) return false;
  } else if (kind != SoundFormatKind::PcmWav || !readWavLayout(s.source.data(), s.source.size(), s.wav)) {
    errorc(ReportText().sjis(name).sjis(sound_messages::kUnsupportedFormat), true);
    return false;
  }
  if (!s.decoder) s.loopEnd = s.totalSamples();
  s.categoryFactor = categoryFactorOf(channel);
  const int32_t kib = std::clamp(settings().streamBufferSize, 1, 4096);
  s.halfSize = static_cast<uint32_t>(kib) * 1024 / s.wav.blockAlign * s.wav.blockAlign;
  if (!createChannelBuffer(s, name)) return false;
  {
    Lock lock(s.mutex);
    applyGain(s);
    applyPan(s);
  }
  SoundChannel& slot = soundState().channels[channel];
  {
    std::lock_guard table(soundState().table);
    slot.stream = stream;
  }
  // The worker waits at its gate (state stopped, nothing to begin) until the channel is played;
  // ending it before that needs no waiting.
  try {
    slot.worker = std::thread(workerMain, stream);
  } catch (const std::system_error&) {
    errorc(ReportText().sjis(name).sjis(sound_messages::kThreadFailed), true);
    releaseChannel(channel);
    return false;
  }
  return true;
}

void playChannel(int channel, int32_t fadeIn, int32_t loops, int64_t start) {
  auto stream = streamOf(channel);
  if (!stream) return;
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  s.loopsRemaining = loops - 1 < -1 ? -1 : loops - 1;
  s.stopAfterFade = false;
  if (fadeIn < 2) {
    s.volumeFade.duration = 0;
    applyGain(s);
  } else {
    const int32_t target = s.volume;
    s.volumeFade.duration = 0;
    s.volume = 0;
    startFade(s.volumeFade, 0, target, fadeIn);
    applyGain(s);
  }
  s.seekSample(start != 0 ? start : s.startPosition);
  setState(s, kStatePlaying);
  s.tail = 0;
  s.resumePosition = 0;
  s.begin = true;
  wakeWorker(s);
}

bool stopChannel(int channel, int32_t fade) {
  // The name goes first, also the one an endless sound kept while fast-forwarding.
  if (FastForwardedStart* start = fastForwardedStart(channel)) start->fileName.clear();
  auto stream = streamOf(channel);
  if (!stream) return false;
  if (fade < 2) {
    stream->buffer->setVolume(kAudioSilence);
    releaseChannel(channel);
    return true;
  }
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  s.fileName.clear();
  startFade(s.volumeFade, s.volume, 0, fade);
  s.stopAfterFade = true;
  wakeWorker(s);
  return true;
}

void pauseChannel(int channel, bool pause) {
  auto stream = streamOf(channel);
  if (!stream) return;
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  if (pause) {
    if (s.state == kStatePaused || s.state != kStatePlaying) return;
    // Remember what is being heard, not how far the worker has read ahead.
    const uint32_t cursor = s.buffer->currentPosition();
    const int half = cursor >= s.halfSize ? 1 : 0;
    const int64_t heard = s.fillPosition[half] + (cursor - static_cast<uint32_t>(half) * s.halfSize) / s.wav.blockAlign;
    s.resumePosition = std::max<int64_t>(heard, 1);
    setState(s, kStatePaused);
    s.buffer->stop();
    wakeWorker(s);  // a paused voice ends the ducking
  } else if (s.resumePosition != 0) {
    s.seekSample(s.resumePosition == 1 ? 0 : s.resumePosition);
    s.resumePosition = 0;
    setState(s, kStatePlaying);
    s.tail = 0;
    s.begin = true;
    wakeWorker(s);
  }
}

void seekChannel(int channel, int64_t sample) {
  auto stream = streamOf(channel);
  if (!stream) return;
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  if (s.state != kStatePlaying) {
    s.resumePosition = std::max<int64_t>(sample, 1);
    return;
  }
  s.buffer->stop();
  s.seekSample(sample);
  s.tail = 0;
  s.begin = true;
  wakeWorker(s);
}

void setChannelVolume(int channel, int32_t volume, int32_t fade) {
  auto stream = streamOf(channel);
  if (!stream) {
    // While fast-forwarding only the kept start has a volume to store.
    if (FastForwardedStart* start = fastForwardedStart(channel)) start->volume = std::clamp(volume, 0, 100);
    return;
  }
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  volume = std::clamp(volume, 0, 100);
  if (volume == s.volume && !s.volumeFade.duration) return;
  if (fade < 2 || s.state != kStatePlaying) {
    s.volume = volume;
    s.volumeFade.duration = 0;
    applyGain(s);
    return;
  }
  startFade(s.volumeFade, s.volume, volume, fade);
  s.stopAfterFade = false;
  wakeWorker(s);
}

void setChannelVolume2(int channel, int32_t volume, int32_t fade) {
  auto stream = streamOf(channel);
  if (!stream) return;
  Lock lock(stream->mutex);
  fadeVolume2(*stream, volume, fade);
}

void restoreNormalVolume2(int channel) {
  if (channel < 1 || channel > 9) return;
  auto stream = streamOf(channel);
  if (!stream) return;
  Lock lock(stream->mutex);
  fadeVolume2(*stream, channel <= 2 ? settings().bgmMax : settings().seMax, 0);
}

void setChannelPan(int channel, int32_t pan, int32_t fade) {
  auto stream = streamOf(channel);
  if (!stream) {
    if (FastForwardedStart* start = fastForwardedStart(channel)) start->pan = std::clamp(pan, -100, 100);
    return;
  }
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  pan = std::clamp(pan, -100, 100);
  if (pan == s.pan && !s.panFade.duration) return;
  if (fade < 2 || s.state != kStatePlaying) {
    s.pan = pan;
    s.panFade.duration = 0;
    applyPan(s);
    return;
  }
  startFade(s.panFade, s.pan, pan, fade);
  wakeWorker(s);
}

void setChannelLoop(int channel, int64_t start, int64_t loopStart, int64_t loopEnd) {
  auto stream = streamOf(channel);
  if (!stream) return;
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  const int64_t total = s.totalSamples();
  // Absurd points are kept inside the source; a loop that would not move plays to the end.
  s.startPosition = std::clamp<int64_t>(start, 0, total);
  s.loopStart = std::clamp<int64_t>(loopStart, 0, total);
  s.loopEnd = std::clamp<int64_t>(loopEnd, 0, total);
  if (s.loopEnd <= s.loopStart) {
    s.loopStart = 0;
    s.loopEnd = total;
  }
}

void releaseChannel(int channel) {
  if (channel < 0 || channel >= kSoundChannels) return;
  SoundChannel& slot = soundState().channels[channel];
  slot.fastForwarded.reset();
  if (!slot.stream) return;
  stopWorker(slot);
  {
    Lock lock(slot.stream->mutex);
    setState(*slot.stream, kStateStopped);
    slot.stream->fileName.clear();
    if (slot.stream->buffer) slot.stream->buffer->stop();
  }
  // A preloaded copy of the same file is not kept beside the channel's.
  dropPreloadedSound(slot.stream->fileKey);
  std::lock_guard table(soundState().table);
  slot.stream.reset();  // a detached worker keeps its own reference until it ends
}

void applyCategoryVolumes() {
  const EngineSettings& set = settings();
  DuckingSettings& d = soundState().ducking;
  d.bgmMax = set.bgmMax;
  d.bgmMin = set.bgmMin;
  d.seMax = set.seMax;
  d.seMin = set.seMin;
  d.fadeMs = set.fadeVolDown;
  d.bgmDown = set.bgmVolDown != 0;
  d.seDown = set.seVolDown != 0;
  for (int channel = 0; channel < kSoundChannels; ++channel) {
    auto stream = streamOf(channel);
    if (!stream) continue;
    Lock lock(stream->mutex);
    stream->categoryFactor = categoryFactorOf(channel);
    applyGain(*stream);
  }
}

void applySettingsRead() {
  applyCategoryVolumes();
  for (int channel = 1; channel <= 9; ++channel) restoreNormalVolume2(channel);
}

void recordFastForwardedStart(int channel, std::string_view name, int32_t volume, int32_t pan) {
  if (channel < 0 || channel >= kSoundChannels) return;
  soundState().channels[channel].fastForwarded =
      FastForwardedStart{std::string(name), std::clamp(volume, 0, 100), std::clamp(pan, -100, 100)};
}

ChannelSnapshot channelSnapshot(int channel) {
  ChannelSnapshot snapshot;
  if (channel < 0 || channel >= kSoundChannels) return snapshot;
  if (auto stream = streamOf(channel)) {
    {
      Lock lock(stream->mutex);
      snapshot.fileName = stream->fileName;
      snapshot.loopsRemaining = stream->loopsRemaining;
      snapshot.volume = stream->volumeFade.duration ? stream->volumeFade.target : stream->volume;
      snapshot.pan = stream->panFade.duration ? stream->panFade.target : stream->pan;
    }
    snapshot.position = channelNowSample(channel);
    return snapshot;
  }
  if (const auto& start = soundState().channels[channel].fastForwarded) {
    snapshot.fileName = start->fileName;
    snapshot.loopsRemaining = -1;
    snapshot.volume = start->volume;
    snapshot.pan = start->pan;
  }
  return snapshot;
}

int channelState(int channel) {
  auto stream = streamOf(channel);
  if (!stream) return kStateStopped;
  Lock lock(stream->mutex);
  return stream->state;
}

std::string channelFileName(int channel) {
  auto stream = streamOf(channel);
  if (!stream) return {};
  Lock lock(stream->mutex);
  return stream->fileName;
}

int64_t channelNowSample(int channel) {
  auto stream = streamOf(channel);
  if (!stream) return 0;
  ChannelStream& s = *stream;
  Lock lock(s.mutex);
  const uint32_t cursor = s.buffer->currentPosition();
  const int half = cursor >= s.halfSize ? 1 : 0;
  const int64_t now = s.fillPosition[half] + (cursor - static_cast<uint32_t>(half) * s.halfSize) / s.wav.blockAlign;
  return std::max<int64_t>(now, 0);
}

int64_t channelTotalSamples(int channel) {
  auto stream = streamOf(channel);
  return stream ? stream->totalSamples() : 0;
}

int channelSampleRate(int channel) {
  auto stream = streamOf(channel);
  return stream ? stream->wav.sampleRate : 0;
}

}  // namespace vellum
