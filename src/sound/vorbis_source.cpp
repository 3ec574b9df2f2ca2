#include "sound/vorbis_source.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sound/vorbis_decoder_table.h"

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

// A stream read through the decoder table, its state in the bytes the channel reserves for it.
class VorbisSource final : public SoundSource {
 public:
  explicit VorbisSource(const std::vector<uint8_t>& data) : ov_(vorbisDecoder()) {
    reader_ = MemoryReader{data.data(), data.size(), 0};
  }
  ~VorbisSource() override {
    if (open_) ov_.ovClear(state_);
  }
  bool open() {
    if (!ov_.library) return false;
    const VorbisReaderCallbacks callbacks{&memoryRead, &memorySeek, &memoryClose, &memoryTell};
    reader_.position = 0;
    open_ = ov_.ovOpenCallbacks(&reader_, state_, nullptr, 0, callbacks) >= 0;
    return open_;
  }
  void* state() { return state_; }

  int64_t totalSamples() override {
    const int64_t total = ov_.ovPcmTotal(state_, -1);
    return total < 0 ? 0 : total;
  }
  int64_t tellSample() override {
    const int64_t now = ov_.ovPcmTell(state_);
    return now < 0 ? 0 : now;
  }
  void seekSample(int64_t sample) override { ov_.ovPcmSeek(state_, std::clamp<int64_t>(sample, 0, totalSamples())); }
  int64_t read(uint8_t* into, uint64_t bytes) override {
    int section = 0;
    // Little-endian, 16-bit, signed.
    return ov_.ovRead(state_, reinterpret_cast<char*>(into), static_cast<int>(std::min<uint64_t>(bytes, 1 << 20)), 0, 2,
                      1, &section);
  }

 private:
  const VorbisDecoderTable ov_;  // a copy: the stream keeps the entry points it was opened with
  MemoryReader reader_;
  alignas(16) unsigned char state_[kVorbisStateBytes] = {};
  bool open_ = false;
};

int32_t int32At(const void* record, size_t offset) {
  int32_t value;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

}  // namespace

VorbisOpenResult openVorbis(const std::vector<uint8_t>& data) {
  VorbisOpenResult result;
  auto source = std::make_unique<VorbisSource>(data);
  if (!source->open()) return result;
  result.opened = true;
  const VorbisDecoderTable& ov = vorbisDecoder();
  // The information record: channels at byte 4, rate at byte 8.
  const void* info = ov.ovInfo(source->state(), -1);
  if (!info) return result;
  const int32_t channels = int32At(info, 4), rate = int32At(info, 8);
  if (channels < 1 || channels > 2 || rate < 1 || rate > 384000) return result;
  result.channels = channels;
  result.sampleRate = rate;
  if (const VorbisCommentRecord* comment = ov.ovComment(source->state(), -1)) {
    for (char** text = comment->userComments; text && *text; ++text) result.comments.emplace_back(*text);
  }
  result.source = std::move(source);
  return result;
}

}  // namespace vellum
