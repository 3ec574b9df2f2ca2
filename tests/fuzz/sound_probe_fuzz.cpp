// Any bytes as a sound file: the probe, the WAV reader and the Ogg Vorbis and Opus decoders over the engine's
// memory reader never read outside the bytes, and what the WAV reader accepts lies inside them.
#include <cstdint>
#include <cstdlib>

#include <vector>

#include "sound/loop_comment.h"
#include "sound/opus_source.h"
#include "sound/vorbis_decoder_table.h"
#include "sound/vorbis_source.h"
#include "sound/wav_probe.h"

// libvorbisfile itself keeps a few bytes of a damaged stream's serial-number list when its open fails
// (it clears the stream before returning, so the engine has nothing left to free).
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  // The decoder table, as sd_create fills it (the engine's own library: no report can come).
  static const bool decoderLoaded = loadVorbisDecoder();
  (void)decoderLoaded;
  probeSoundFormat(data, size);
  WavLayout layout;
  if (readWavLayout(data, size, layout)) {
    if (layout.blockAlign == 0 || layout.dataSize % layout.blockAlign != 0) std::abort();
    if (layout.dataOffset > size || layout.dataSize > size - layout.dataOffset) std::abort();
  }
  const SoundFormatKind kind = probeSoundFormat(data, size);
  if (kind == SoundFormatKind::OggVorbis || kind == SoundFormatKind::OggOpus) {
    // The decoder over the engine's memory reader: open, read the comments, decode, seek.
    const std::vector<uint8_t> bytes(data, data + size);
    VorbisOpenResult opened = kind == SoundFormatKind::OggOpus ? openOpus(bytes) : openVorbis(bytes);
    if (opened.source) {
      std::vector<std::string_view> comments(opened.comments.begin(), opened.comments.end());
      LoopPoints points;
      parseLoopComment(comments, opened.sampleRate, points);
      uint8_t pcm[4096];
      for (int i = 0; i < 8 && opened.source->read(pcm, sizeof pcm) > 0; ++i) {
      }
      opened.source->seekSample(opened.source->totalSamples() / 2);
      opened.source->read(pcm, sizeof pcm);
    }
  }
  return 0;
}
