#include "platform/audio_device.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio_pacer.h"
#include "platform/audio_recording.h"
#include "platform/audio_resampler.h"

namespace vellum {

namespace {

// The mixer's output: CD rate, stereo, 20 ms per device period (a whole number of frames, so the
// pacing thread's schedule is exact).
constexpr int kMixRate = 44100;
constexpr int kMixChannels = 2;
constexpr int kMixFrames = 882;
constexpr std::chrono::nanoseconds kMixPeriod{int64_t{1'000'000'000} * kMixFrames / kMixRate};
static_assert(int64_t{1'000'000'000} * kMixFrames % kMixRate == 0);

class MixedBuffer;

struct Mixer {
  std::mutex mutex;  // guards the buffer list and every buffer's playback state
  SDL_AudioDeviceID device = 0;
  std::vector<MixedBuffer*> buffers;
  std::vector<float> accumulator;
  std::vector<float> converted;
  std::vector<int16_t> output;
  std::string recordingPath;
  WavRecorder recorder;
  bool recorded = false;  // the recording was opened at least once
  std::atomic<bool> appFocused{true};
  std::atomic<uint64_t> framesMixed{0};
  // Mixes the periods when the driver has no clock of its own. Made and ended by open and close
  // only (the main thread), outside the mutex: its thread takes the mutex for each period.
  std::unique_ptr<AudioPacer> pacer;
};

Mixer& mixer() {
  static Mixer instance;
  return instance;
}

// Hundredths of a decibel to an amplitude factor.
float amplitude(int32_t hundredths) {
  if (hundredths <= kAudioSilence) return 0.0f;
  return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

class MixedBuffer final : public AudioBuffer {
 public:
  // Sources at the mixer's rate are summed as they are; other rates go through our resampler, or
  // through SDL's converter (`stream`) for ratios it does not take.
  MixedBuffer(const AudioFormat& format, uint32_t bytes, SDL_AudioStream* stream, bool globalFocus)
      : format_(format), data_(bytes / 2, 0), stream_(stream), globalFocus_(globalFocus) {
    if (!stream_ && format.sampleRate != kMixRate)
      resampler_ = std::make_unique<AudioResampler>(format.sampleRate, kMixRate, format.channels);
    std::lock_guard lock(mixer().mutex);
    mixer().buffers.push_back(this);
  }
  ~MixedBuffer() override {
    std::lock_guard lock(mixer().mutex);
    auto& list = mixer().buffers;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (stream_) SDL_FreeAudioStream(stream_);
  }

  const AudioFormat& format() const override { return format_; }
  uint32_t size() const override { return static_cast<uint32_t>(data_.size() * 2); }

  void play(bool looping) override {
    std::lock_guard lock(mixer().mutex);
    if (flushed_) {
      clearConverted();
      flushed_ = false;
    }
    looping_ = looping;
    playing_ = true;
  }
  void stop() override {
    std::lock_guard lock(mixer().mutex);
    playing_ = false;
    clearConverted();  // a stopped buffer is silent at once
    flushed_ = false;
  }
  bool playing() const override {
    std::lock_guard lock(mixer().mutex);
    return playing_;
  }
  void setCurrentPosition(uint32_t byteOffset) override {
    std::lock_guard lock(mixer().mutex);
    const uint32_t align = format_.blockAlign();
    cursor_ = std::min<uint32_t>(byteOffset / align * align, size() - align);
    clearConverted();  // what was converted ahead belongs to the old position
    flushed_ = false;
  }
  uint32_t currentPosition() const override {
    std::lock_guard lock(mixer().mutex);
    return cursor_;
  }
  bool lock(uint32_t offset, uint32_t bytes, uint8_t*& first, uint32_t& firstBytes, uint8_t*& second,
            uint32_t& secondBytes) override {
    std::lock_guard lock(mixer().mutex);  // orders the mixer's earlier reads before the writes
    first = second = nullptr;
    firstBytes = secondBytes = 0;
    if (bytes > size() || offset >= size()) return false;
    first = bytes_() + offset;
    firstBytes = std::min(bytes, size() - offset);
    if (firstBytes < bytes) {
      second = bytes_();
      secondBytes = bytes - firstBytes;
    }
    return true;
  }
  void unlock() override {
    std::lock_guard lock(mixer().mutex);  // publishes the writes to the mixer
  }
  void setVolume(int32_t hundredths) override {
    std::lock_guard lock(mixer().mutex);
    volume_ = std::clamp(hundredths, kAudioSilence, 0);
  }
  int32_t volume() const override {
    std::lock_guard lock(mixer().mutex);
    return volume_;
  }
  void setPan(int32_t hundredths) override {
    std::lock_guard lock(mixer().mutex);
    pan_ = std::clamp(hundredths, kAudioPanLeft, kAudioPanRight);
  }
  int32_t pan() const override {
    std::lock_guard lock(mixer().mutex);
    return pan_;
  }

  // Mixer thread, mixer mutex held: adds `frames` frames of this buffer into `sum`.
  void mixInto(float* sum, int frames, std::vector<float>& converted) {
    if (resampler_) {
      mixResampled(sum, frames);
      return;
    }
    if (!stream_) {
      mixDirect(sum, frames);
      return;
    }
    const int wanted = frames * kMixChannels * static_cast<int>(sizeof(float));
    feed(wanted);
    const int available = SDL_AudioStreamAvailable(stream_);
    if (available <= 0) return;
    converted.resize(static_cast<size_t>(wanted / static_cast<int>(sizeof(float))));
    const int got = SDL_AudioStreamGet(stream_, converted.data(), std::min(available, wanted));
    if (got <= 0) return;
    // Without global focus the buffer keeps its place but is not heard while the game is away.
    float left, right;
    gains(left, right);
    const int samples = got / static_cast<int>(sizeof(float));
    for (int i = 0; i + 1 < samples; i += 2) {
      sum[i] += converted[static_cast<size_t>(i)] * left;
      sum[i + 1] += converted[static_cast<size_t>(i) + 1] * right;
    }
  }

 private:
  uint8_t* bytes_() { return reinterpret_cast<uint8_t*>(data_.data()); }
  void clearConverted() {
    if (stream_) SDL_AudioStreamClear(stream_);
    if (resampler_) resampler_->reset();
    drain_ = 0;
  }
  void gains(float& left, float& right) const {
    // Without global focus the buffer keeps its place but is not heard while the game is away.
    const float gain = globalFocus_ || mixer().appFocused ? amplitude(volume_) : 0.0f;
    left = gain * (pan_ > 0 ? amplitude(-pan_) : 1.0f);
    right = gain * (pan_ < 0 ? amplitude(pan_) : 1.0f);
  }

  // A source at the mixer's rate is summed straight from the ring, moving the cursor as it goes.
  void mixDirect(float* sum, int frames) {
    if (!playing_) return;
    float left, right;
    gains(left, right);
    left /= 32768.0f;
    right /= 32768.0f;
    const uint32_t channels = static_cast<uint32_t>(format_.channels);
    int done = 0;
    while (done < frames && playing_) {
      const uint32_t cursorSample = cursor_ / 2;
      const int available = static_cast<int>((data_.size() - cursorSample) / channels);
      const int n = std::min(frames - done, available);
      const int16_t* from = data_.data() + cursorSample;
      float* to = sum + static_cast<size_t>(done) * kMixChannels;
      if (channels == 2) {
        for (int i = 0; i < n; ++i) {
          to[2 * i] += static_cast<float>(from[2 * i]) * left;
          to[2 * i + 1] += static_cast<float>(from[2 * i + 1]) * right;
        }
      } else {
        for (int i = 0; i < n; ++i) {
          const float v = static_cast<float>(from[i]);
          to[2 * i] += v * left;
          to[2 * i + 1] += v * right;
        }
      }
      done += n;
      cursor_ += static_cast<uint32_t>(n) * format_.blockAlign();
      if (cursor_ >= size()) {
        cursor_ = 0;
        if (!looping_) playing_ = false;
      }
    }
  }

  // The next input frame for our resampler: from the cursor while playing (the end of a one-shot
  // starts the drain), then silence until the filter has given out the source's last frames.
  void pushInput() {
    if (playing_) {
      resampler_->push(data_.data() + cursor_ / 2);
      cursor_ += format_.blockAlign();
      if (cursor_ >= size()) {
        cursor_ = 0;
        if (!looping_) {
          playing_ = false;
          drain_ = resampler_->drainFrames();
        }
      }
    } else {
      resampler_->push(nullptr);
      if (drain_ > 0) --drain_;
    }
  }

  void mixResampled(float* sum, int frames) {
    if (!playing_ && drain_ == 0) return;
    float left, right;
    gains(left, right);
    left /= 32768.0f;
    right /= 32768.0f;
    for (int i = 0; i < frames; ++i) {
      while (resampler_->needsInput()) pushInput();
      if (!playing_ && drain_ == 0) return;
      float l, r;
      resampler_->produce(l, r);
      sum[2 * i] += l * left;
      sum[2 * i + 1] += r * right;
    }
  }

  // Hands the resampler source frames from the cursor until it can give `wanted` bytes of output,
  // moving the cursor as it goes (wrapping when looping, stopping at the end otherwise).
  void feed(int wanted) {
    const uint32_t align = format_.blockAlign();
    for (int guard = 0; playing_ && guard < 64; ++guard) {
      const int have = SDL_AudioStreamAvailable(stream_);
      if (have >= wanted) break;
      const int64_t outFrames = (wanted - have) / (kMixChannels * static_cast<int>(sizeof(float)));
      int64_t inFrames = (outFrames * format_.sampleRate + kMixRate - 1) / kMixRate;
      if (format_.sampleRate != kMixRate) inFrames += 16;  // the resampler keeps a few frames back
      const uint32_t bytes = std::min<uint32_t>(static_cast<uint32_t>(std::max<int64_t>(inFrames, 1)) * align,
                                                size() - cursor_);
      SDL_AudioStreamPut(stream_, bytes_() + cursor_, static_cast<int>(bytes));
      cursor_ += bytes;
      if (cursor_ >= size()) {
        cursor_ = 0;
        if (!looping_) {
          playing_ = false;
          SDL_AudioStreamFlush(stream_);  // let the resampler give out what it holds
          flushed_ = true;
        }
      }
    }
  }

  AudioFormat format_;
  std::vector<int16_t> data_;  // the ring; lock() hands it out as bytes
  SDL_AudioStream* stream_;
  std::unique_ptr<AudioResampler> resampler_;
  int drain_ = 0;  // silent input frames still to give our resampler after a one-shot's end
  uint32_t cursor_ = 0;
  bool playing_ = false;
  bool looping_ = false;
  bool flushed_ = false;
  bool globalFocus_ = true;
  int32_t volume_ = 0;
  int32_t pan_ = 0;
};

// Mixer mutex held: sums `frames` frames of every buffer into `m.output` and the recording.
void mixLocked(Mixer& m, int frames) {
  const size_t samples = static_cast<size_t>(frames) * kMixChannels;
  m.accumulator.assign(samples, 0.0f);
  for (MixedBuffer* buffer : m.buffers) buffer->mixInto(m.accumulator.data(), frames, m.converted);
  m.output.resize(samples);
  for (size_t i = 0; i < samples; ++i) {
    const float scaled = std::clamp(m.accumulator[i] * 32768.0f, -32768.0f, 32767.0f);
    m.output[i] = static_cast<int16_t>(std::lrint(scaled));
  }
  m.recorder.write(m.output.data(), samples);
  m.framesMixed += static_cast<uint64_t>(frames);
}

// SDL's audio thread, with a sound card setting the pace.
void SDLCALL mixCallback(void*, Uint8* stream, int length) {
  Mixer& m = mixer();
  const int frames = length / (kMixChannels * static_cast<int>(sizeof(int16_t)));
  std::lock_guard lock(m.mutex);
  mixLocked(m, frames);
  std::memcpy(stream, m.output.data(), m.output.size() * sizeof(int16_t));
}

// SDL's audio thread under a driver without a clock: the pacing thread mixes, the driver is given
// silence (zero is silence for signed 16-bit samples).
void SDLCALL silenceCallback(void*, Uint8* stream, int length) {
  std::memset(stream, 0, static_cast<size_t>(length));
}

// The pacing thread: one period, when it falls due.
void mixPacedPeriod() {
  Mixer& m = mixer();
  std::lock_guard lock(m.mutex);
  mixLocked(m, kMixFrames);
}

// Whether the driver only pretends to play: SDL's dummy driver consumes each period and then
// sleeps for it rounded up to a power of two of frames and cut to whole milliseconds (882 frames
// take 23 ms), so it runs at 0.86 of real time. The disk driver writes what it is given to a file
// and is left as it is: fed silence, its file would be empty.
bool driverHasNoClock() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver && std::strcmp(driver, "dummy") == 0;
}

// Follows the focus of the game's windows for the buffers heard only while it has it.
int SDLCALL watchFocus(void*, SDL_Event* event) {
  if (event->type == SDL_WINDOWEVENT) {
    if (event->window.event == SDL_WINDOWEVENT_FOCUS_GAINED) mixer().appFocused = true;
    if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST) mixer().appFocused = false;
  }
  return 1;
}

}  // namespace

void setAudioAppFocus(bool focused) { mixer().appFocused = focused; }
bool audioAppFocused() { return mixer().appFocused; }

bool openAudioDevice(std::string& error) {
  Mixer& m = mixer();
  if (m.device != 0) return true;
  // Asked each time: other code may have shut SDL down in between.
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = std::string("SDL_InitSubSystem(audio) ") + SDL_GetError();
    return false;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kMixRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kMixChannels;
  wanted.samples = kMixFrames;
  const bool paced = driverHasNoClock();
  m.framesMixed = 0;
  wanted.callback = paced ? &silenceCallback : &mixCallback;
  SDL_AudioSpec obtained{};
  // No format changes allowed: SDL converts to whatever the hardware wants behind the callback.
  m.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (m.device == 0) {
    error = std::string("SDL_OpenAudioDevice ") + SDL_GetError();
    return false;
  }
  if (!m.recordingPath.empty() && !m.recorder.isOpen()) {
    std::string reason;
    if (m.recorder.open(m.recordingPath, kMixChannels, kMixRate, reason)) m.recorded = true;
  }
  SDL_AddEventWatch(&watchFocus, nullptr);
  if (paced) m.pacer = std::make_unique<AudioPacer>(kMixPeriod, &mixPacedPeriod);
  SDL_PauseAudioDevice(m.device, 0);
  return true;
}

void closeAudioDevice() {
  Mixer& m = mixer();
  if (m.device != 0) {
    SDL_DelEventWatch(&watchFocus, nullptr);
    m.pacer.reset();                 // waits for the period being mixed
    SDL_CloseAudioDevice(m.device);  // waits for the callback to return
    m.device = 0;
  }
  std::lock_guard lock(m.mutex);
  m.recorder.finish();
}

bool audioDeviceIsOpen() { return mixer().device != 0; }

AudioFormat audioDeviceFormat() { return AudioFormat{kMixChannels, kMixRate}; }

uint64_t audioFramesMixed() { return mixer().framesMixed; }

bool setAudioRecordingPath(const std::string& path, std::string& error) {
  Mixer& m = mixer();
  std::lock_guard lock(m.mutex);
  m.recorder.finish();
  m.recordingPath = path;
  m.recorded = false;
  if (path.empty()) return true;
  // Create the file now so a bad path is reported at start-up; it is reopened when the device opens.
  if (!m.recorder.open(path, kMixChannels, kMixRate, error)) {
    m.recordingPath.clear();
    return false;
  }
  if (m.device == 0) {
    m.recorder.finish();
  } else {
    m.recorded = true;
  }
  return true;
}

void finishAudioRecording() {
  Mixer& m = mixer();
  std::lock_guard lock(m.mutex);
  m.recorder.finish();
  if (!m.recordingPath.empty() && !m.recorded) {
    // The device never opened: the run produced no sound, which is an empty recording.
    std::string reason;
    m.recorder.open(m.recordingPath, kMixChannels, kMixRate, reason);
    m.recorder.finish();
  }
}

std::shared_ptr<AudioBuffer> createAudioBuffer(const AudioFormat& format, uint32_t bytes,
                                               const AudioBufferPlacement& placement, AudioFailure& failure) {
  const auto fail = [&failure](AudioError code, std::string detail) {
    failure = AudioFailure{code, std::move(detail)};
    return nullptr;
  };
  if (mixer().device == 0) return fail(AudioError::NotOpen, "the sound device is not open");
  if (placement.hardware) return fail(AudioError::Unsupported, "no hardware mixing");
  if (format.channels < 1 || format.channels > 2 || format.sampleRate < 1 || format.sampleRate > 384000)
    return fail(AudioError::BadFormat, "unsupported format");
  const uint32_t frames = bytes / format.blockAlign();
  if (frames == 0) return fail(AudioError::BufferTooSmall, "buffer too small");
  SDL_AudioStream* stream = nullptr;
  if (format.sampleRate != kMixRate && !AudioResampler::supports(format.sampleRate, kMixRate)) {
    stream = SDL_NewAudioStream(AUDIO_S16LSB, static_cast<Uint8>(format.channels), format.sampleRate, AUDIO_F32SYS,
                                kMixChannels, kMixRate);
    if (!stream) return fail(AudioError::OutOfMemory, std::string("SDL_NewAudioStream ") + SDL_GetError());
  }
  failure = AudioFailure{};
  return std::make_shared<MixedBuffer>(format, frames * format.blockAlign(), stream, placement.globalFocus);
}

std::shared_ptr<AudioBuffer> createAudioBuffer(const AudioFormat& format, uint32_t bytes, std::string& error) {
  AudioFailure failure;
  auto buffer = createAudioBuffer(format, bytes, AudioBufferPlacement{}, failure);
  if (!buffer) error = failure.detail;
  return buffer;
}

}  // namespace vellum
