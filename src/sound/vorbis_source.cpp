#include "sound/vorbis_source.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace vellum {

size_t memoryRead(void* into, size_t elementSize, size_t count, void* source) {
  auto* reader = static_cast<MemoryReader*>(source);
  if (!reader || elementSize == 0 || count == 0) return 0;
  const uint64_t left = reader->size - std::min(reader->position, reader->size);
  const uint64_t elements = std::min<uint64_t>(count, left / elementSize);
  const uint64_t bytes = elements * elementSize;
  std::memcpy(into, reader->data + reader->position, bytes);
  reader->position += bytes;
  return static_cast<size_t>(elements);
}

int memorySeek(void* source, int64_t offset, int origin) {
  auto* reader = static_cast<MemoryReader*>(source);
  if (!reader) return -1;
  int64_t base;
  switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(reader->position); break;
    case SEEK_END: base = static_cast<int64_t>(reader->size); break;
    default: return -1;
  }
  // 64-bit throughout: offsets are not cut to 32 bits.
  if (offset < 0 && base < -offset) {
    reader->position = 0;
    return -1;
  }
  const uint64_t target = static_cast<uint64_t>(base + offset);
  if (target > reader->size) {
    reader->position = reader->size;
    return -1;
  }
  reader->position = target;
  return 0;
}

int memoryClose(void* source) { return source ? 0 : -1; }

long memoryTell(void* source) {
  auto* reader = static_cast<MemoryReader*>(source);
  return reader ? static_cast<long>(reader->position) : -1;
}

namespace {

int seekThunk(void* source, ogg_int64_t offset, int origin) { return memorySeek(source, offset, origin); }

class VorbisSource final : public SoundSource {
 public:
  explicit VorbisSource(const std::vector<uint8_t>& data) { reader_ = MemoryReader{data.data(), data.size(), 0}; }
  ~VorbisSource() override {
    if (open_) ov_clear(&file_);
  }
  bool open() {
    const ov_callbacks callbacks{&memoryRead, &seekThunk, &memoryClose, &memoryTell};
    open_ = ov_open_callbacks(&reader_, &file_, nullptr, 0, callbacks) >= 0;
    return open_;
  }
  OggVorbis_File& file() { return file_; }

  int64_t totalSamples() override {
    const ogg_int64_t total = ov_pcm_total(&file_, -1);
    return total < 0 ? 0 : total;
  }
  int64_t tellSample() override {
    const ogg_int64_t now = ov_pcm_tell(&file_);
    return now < 0 ? 0 : now;
  }
  void seekSample(int64_t sample) override { ov_pcm_seek(&file_, std::clamp<int64_t>(sample, 0, totalSamples())); }
  int64_t read(uint8_t* into, uint64_t bytes) override {
    int section = 0;
    const long got = ov_read(&file_, reinterpret_cast<char*>(into), static_cast<int>(std::min<uint64_t>(bytes, 1 << 20)), 0,
                             2, 1, &section);
    return got;
  }

 private:
  MemoryReader reader_;
  OggVorbis_File file_{};
  bool open_ = false;
};

}  // namespace

VorbisOpenResult openVorbis(const std::vector<uint8_t>& data) {
  VorbisOpenResult result;
  auto source = std::make_unique<VorbisSource>(data);
  if (!source->open()) return result;
  result.opened = true;
  vorbis_info* info = ov_info(&source->file(), -1);
  if (!info || info->channels < 1 || info->channels > 2 || info->rate < 1 || info->rate > 384000) return result;
  result.channels = info->channels;
  result.sampleRate = static_cast<int>(info->rate);
  if (vorbis_comment* comment = ov_comment(&source->file(), -1)) {
    for (int i = 0; i < comment->comments; ++i)
      result.comments.emplace_back(comment->user_comments[i], static_cast<size_t>(comment->comment_lengths[i]));
  }
  result.source = std::move(source);
  return result;
}

}  // namespace vellum
