// Any bytes as a sound file: the probe and the WAV reader never read outside the bytes, and what
// the reader accepts lies inside them with whole frames.
#include <cstdint>
#include <cstdlib>

#include "sound/wav_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  probeSoundFormat(data, size);
  WavLayout layout;
  if (readWavLayout(data, size, layout)) {
    if (layout.blockAlign == 0 || layout.dataSize % layout.blockAlign != 0) std::abort();
    if (layout.dataOffset > size || layout.dataSize > size - layout.dataOffset) std::abort();
  }
  return 0;
}
