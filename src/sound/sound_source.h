// A compressed source decoded by the channel's worker: 16-bit little-endian PCM on demand.
#pragma once

#include <cstdint>

namespace vellum {

class SoundSource {
 public:
  virtual ~SoundSource() = default;
  virtual int64_t totalSamples() = 0;
  virtual int64_t tellSample() = 0;
  virtual void seekSample(int64_t sample) = 0;
  // Bytes written; 0 at the end of the stream, negative on a decode error.
  virtual int64_t read(uint8_t* into, uint64_t bytes) = 0;
};

}  // namespace vellum
