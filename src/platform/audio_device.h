// The engine's sound device: looping secondary buffers (16-bit PCM at any rate and channel count)
// that a mixer sums into one SDL audio device. A buffer has a play cursor that advances as the
// device consumes it, a region that can be locked for writing, a volume in hundredths of a decibel
// (-10000 = silence, 0 = full) and a pan in the same unit (-10000 left only ... 10000 right only).
// Sources at other rates than the device's go through SDL's resampler. A sound card sets the pace
// at which periods are mixed; SDL's dummy driver (headless runs) has no clock of its own and falls
// behind real time, so there the engine's own thread mixes each period when it falls due on the
// monotonic clock, and cursors and the recording keep to real time all the same.
//
// Threads: buffer calls may come from any thread; the mixer runs on SDL's audio thread, or on the
// pacing thread under the dummy driver. A region handed out by lock() may be written without
// further synchronisation until unlock(); writers keep to the part of the buffer the play cursor
// is not in, as with any looping stream buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vellum {

constexpr int32_t kAudioSilence = -10000;  // volume of a muted buffer, in hundredths of a dB
constexpr int32_t kAudioPanLeft = -10000;
constexpr int32_t kAudioPanRight = 10000;

struct AudioFormat {
  int channels = 2;      // 1 or 2
  int sampleRate = 44100;
  // Bytes per sample frame (16-bit samples).
  uint32_t blockAlign() const { return static_cast<uint32_t>(channels) * 2; }
};

class AudioBuffer;

// Why a device call failed; the sound layer reports it under the name its users know.
enum class AudioError {
  None,
  NoDriver,        // no device could be opened
  NotOpen,         // the device is not open
  BadFormat,       // channels or rate outside what a buffer takes
  BufferTooSmall,  // not one frame
  OutOfMemory,
  Unsupported,     // e.g. a buffer mixed by the sound card, which this mixer has not
  Generic,
};

struct AudioFailure {
  AudioError code = AudioError::None;
  std::string detail;  // the system's own words, for logs
};

// Where a buffer is mixed and whether it is heard while the game's window is not focused.
struct AudioBufferPlacement {
  bool hardware = false;    // mixed by the sound card: not available, every request fails
  bool globalFocus = true;  // false: silent (still advancing) while another window has the focus
};

// Opens the device (a no-op when it is open). Returns false with a reason on failure.
bool openAudioDevice(std::string& error);
// Stops the mixer, frees every buffer's mixing state and finishes the recording, if any.
void closeAudioDevice();
bool audioDeviceIsOpen();
// The mixer's output format (valid while open).
AudioFormat audioDeviceFormat();
// Frames the mixer has put out since the device last opened (what a recording of the run holds).
uint64_t audioFramesMixed();

// Everything the mixer outputs while the device is open is also written to `path` as a 16-bit PCM
// WAV (the header is completed when the device closes). Set before the device opens; an empty path
// turns recording off. Returns false with a reason when the file cannot be created.
bool setAudioRecordingPath(const std::string& path, std::string& error);
// Completes the recording: writes an empty one when the device was never opened.
void finishAudioRecording();

// A secondary buffer of `bytes` bytes (rounded down to whole frames). Null when the device is not
// open, the format is not 1 or 2 channels at 1..384000 Hz, or `bytes` holds no frame.
std::shared_ptr<AudioBuffer> createAudioBuffer(const AudioFormat& format, uint32_t bytes,
                                               const AudioBufferPlacement& placement, AudioFailure& failure);
std::shared_ptr<AudioBuffer> createAudioBuffer(const AudioFormat& format, uint32_t bytes, std::string& error);

// Whether one of the game's windows has the input focus. Followed from the window events while the
// device is open; tests may set it.
void setAudioAppFocus(bool focused);
bool audioAppFocused();

class AudioBuffer {
 public:
  virtual ~AudioBuffer() = default;
  virtual const AudioFormat& format() const = 0;
  virtual uint32_t size() const = 0;
  // Starts consuming from the play cursor; looping wraps at the end, otherwise playback stops there.
  virtual void play(bool looping) = 0;
  virtual void stop() = 0;
  virtual bool playing() const = 0;
  virtual void setCurrentPosition(uint32_t byteOffset) = 0;
  // The byte offset the device reads next.
  virtual uint32_t currentPosition() const = 0;
  // Hands out the region [offset, offset + bytes) of the ring: `first` up to the end of the buffer,
  // `second` the wrapped rest (null when none). Returns false when the region is larger than the buffer.
  virtual bool lock(uint32_t offset, uint32_t bytes, uint8_t*& first, uint32_t& firstBytes, uint8_t*& second,
                    uint32_t& secondBytes) = 0;
  virtual void unlock() = 0;
  virtual void setVolume(int32_t hundredthsOfDb) = 0;  // clamped to -10000..0
  virtual int32_t volume() const = 0;
  virtual void setPan(int32_t hundredthsOfDb) = 0;  // clamped to -10000..10000
  virtual int32_t pan() const = 0;
};

}  // namespace vellum
