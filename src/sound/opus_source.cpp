#include "sound/opus_source.h"

#include <opusfile.h>

#include <algorithm>
#include <cstdio>

namespace vellum {

namespace {

int opusRead(void* source, unsigned char* into, int bytes) {
  if (bytes <= 0) return 0;
  return static_cast<int>(memoryRead(into, 1, static_cast<size_t>(bytes), source));
}
int opusSeek(void* source, opus_int64 offset, int origin) { return memorySeek(source, offset, origin); }
opus_int64 opusTell(void* source) { return memoryTell(source); }
int opusClose(void* source) { return memoryClose(source); }

constexpr int kOpusRate = 48000;

class OpusSource final : public SoundSource {
 public:
  explicit OpusSource(const std::vector<uint8_t>& data) { reader_ = MemoryReader{data.data(), data.size(), 0}; }
  ~OpusSource() override {
    if (file_) op_free(file_);
  }
  bool open() {
    static const OpusFileCallbacks callbacks{&opusRead, &opusSeek, &opusTell, &opusClose};
    file_ = op_open_callbacks(&reader_, &callbacks, nullptr, 0, nullptr);
    return file_ != nullptr;
  }
  OggOpusFile* file() { return file_; }

  int64_t totalSamples() override {
    const ogg_int64_t total = op_pcm_total(file_, -1);
    return total < 0 ? 0 : total;
  }
  int64_t tellSample() override {
    const ogg_int64_t now = op_pcm_tell(file_);
    return now < 0 ? 0 : now;
  }
  void seekSample(int64_t sample) override { op_pcm_seek(file_, std::clamp<int64_t>(sample, 0, totalSamples())); }
  int64_t read(uint8_t* into, uint64_t bytes) override {
    // Whole stereo frames; the decoder writes native-endian samples (little-endian here).
    const int samples = static_cast<int>(std::min<uint64_t>(bytes, 1 << 20) / 4 * 2);
    if (samples == 0) return 0;
    const int frames = op_read_stereo(file_, reinterpret_cast<opus_int16*>(into), samples);
    return frames < 0 ? frames : static_cast<int64_t>(frames) * 4;
  }

 private:
  MemoryReader reader_;
  OggOpusFile* file_ = nullptr;
};

}  // namespace

VorbisOpenResult openOpus(const std::vector<uint8_t>& data) {
  VorbisOpenResult result;
  auto source = std::make_unique<OpusSource>(data);
  if (!source->open()) return result;
  result.opened = true;
  result.channels = 2;
  result.sampleRate = kOpusRate;
  if (const OpusTags* tags = op_tags(source->file(), -1)) {
    for (int i = 0; i < tags->comments; ++i)
      result.comments.emplace_back(tags->user_comments[i], static_cast<size_t>(tags->comment_lengths[i]));
  }
  result.source = std::move(source);
  return result;
}

}  // namespace vellum
