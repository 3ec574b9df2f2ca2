#include "movie/frame_file_playback.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <utility>

#include "base/clock.h"
#include "base/quiet_reports.h"
#include "image/image_io.h"
#include "image/ops/output_image.h"
#include "movie/movie_messages.h"
#include "movie/worker_state.h"
#include "scene/sprite_loading.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

namespace vellum {

struct FrameFilePlayback::Shared {
  WorkerState state;
  int32_t sprite = 0;
  Settings settings;
  FrameFileLayout layout;
  uint32_t startTime = 0;
  std::vector<uint8_t> bytes;  // variants 0 and 1: the whole file
  FILE* file = nullptr;        // variant 2
  uint64_t fileSize = 0;

  std::mutex lock;
  std::vector<Image*> frames;  // variant 0
  Image* latest = nullptr;     // variants 1 and 2
  uint64_t serial = 0;
  std::vector<ReportText> reports;

  ~Shared() {
    for (Image*& f : frames) freeImage(f);
    freeImage(latest);
    if (file) std::fclose(file);
  }

  void report(ReportText text) {
    std::lock_guard<std::mutex> hold(lock);
    reports.push_back(std::move(text));
  }
  void nap(uint32_t ms) { state.nap(ms); }
  bool waitUntil(uint32_t time) {
    while (state.load() != 0 && static_cast<int32_t>(tickMilliseconds() - time) < 0) nap(1);
    return state.load() != 0;
  }

  // The bytes of a chunk's frame: from memory, or read from the file (variant 2).
  bool chunkBytes(const FrameChunk& c, std::vector<uint8_t>& scratch, const uint8_t*& data) {
    if (!file) {
      data = bytes.data() + c.offset;
      return true;
    }
    scratch.resize(c.length);
    if (fseeko(file, static_cast<off_t>(c.offset), SEEK_SET) != 0 || std::fread(scratch.data(), 1, c.length, file) != c.length)
      return false;
    data = scratch.data();
    return true;
  }

  // The next chunk: variant 2 reads its header from the file, the others look at the bytes.
  FrameChunk nextChunk(uint64_t& position) {
    if (!file) return nextFrameChunk(bytes.data(), bytes.size(), position, layout.avi);
    uint8_t head[8];
    if (position + 8 > fileSize || fseeko(file, static_cast<off_t>(position), SEEK_SET) != 0 ||
        std::fread(head, 1, 8, file) != 8)
      return {};
    return readChunkHeader(head, position, fileSize, layout.avi, position);
  }

  // Decodes the chunk's frame (JPEG or PNG) with the sprite's load effects; a repeat copies the
  // previous frame. nullptr after a report.
  Image* decode(const FrameChunk& c, const Image* previous, std::vector<uint8_t>& scratch) {
    const std::string name = "bufferThread" + std::to_string(settings.variant);
    if (c.kind == FrameChunk::Repeat) {
      Image* copy = previous ? duplicateImage(previous) : nullptr;
      if (!copy && previous) report(ReportText().ascii(name + " createImage"));
      return copy;
    }
    const uint8_t* data = nullptr;
    Image* frame = nullptr;
    if (chunkBytes(c, scratch, data) && c.length >= 2 &&
        ((data[0] == 0xFF && data[1] == 0xD8) || (data[0] == 0x89 && data[1] == 0x50))) {
      QuietReportsOnThisThread quiet;
      frame = loadImage(data, c.length);
      if (frame && !applyLoadEffects(frame, settings.loadEffects)) freeImage(frame);
    }
    if (!frame) report(ReportText().ascii(name + " loadJpegImage"));
    return frame;
  }

  void badChunk(const FrameChunk& c) {
    char text[96];
    std::snprintf(text, sizeof text, " CHUNK READ ERROR %d %08X %llu", sprite, c.tag, static_cast<unsigned long long>(c.offset));
    report(ReportText().ascii(text));
  }

  // Variant 0: every frame once, in order, into the frame array.
  void decodeAll() {
    std::vector<uint8_t> scratch;
    uint64_t position = layout.firstChunk;
    Image* previous = nullptr;
    for (uint32_t i = 0; i < layout.frameCount && state.load() != 0; ++i) {
      const FrameChunk c = nextChunk(position);
      if (c.kind == FrameChunk::End) break;
      if (c.kind == FrameChunk::Bad) {
        badChunk(c);
        break;
      }
      Image* frame = decode(c, previous, scratch);
      std::lock_guard<std::mutex> hold(lock);
      frames[i] = frame;
      if (frame) previous = frame;
    }
  }

  // Variants 1 and 2: each frame just before it falls due, pass after pass.
  void decodeInTime() {
    std::vector<uint8_t> scratch;
    Image* previous = nullptr;
    uint32_t passStart = startTime;
    for (int32_t pass = 0; state.load() != 0 && (settings.passes == 0 || pass < settings.passes); ++pass) {
      uint64_t position = layout.firstChunk;
      for (uint32_t i = 0; i < layout.frameCount && state.load() != 0; ++i) {
        const FrameChunk c = nextChunk(position);
        if (c.kind == FrameChunk::End) break;
        if (c.kind == FrameChunk::Bad) {
          badChunk(c);
          return;
        }
        const uint64_t due = uint64_t{tickMilliseconds() - passStart} * layout.frameCount / layout.passDurationMs;
        if (due > i && c.kind == FrameChunk::Frame) continue;  // already late: skipped undecoded
        Image* frame = decode(c, previous, scratch);
        if (!frame) continue;
        if (!waitUntil(passStart + static_cast<uint32_t>(uint64_t{i} * layout.passDurationMs / layout.frameCount))) {
          freeImage(frame);
          break;
        }
        freeImage(previous);
        previous = duplicateImage(frame);
        std::lock_guard<std::mutex> hold(lock);
        freeImage(latest);
        latest = frame;
        ++serial;
      }
      passStart += layout.passDurationMs;
      if (!waitUntil(passStart)) break;
    }
    freeImage(previous);
  }

  void run() {
    state.beginRunning();
    if (waitUntil(startTime)) {
      if (settings.variant == 0) {
        decodeAll();
      } else {
        decodeInTime();
      }
    }
    state.store(-1);
  }
};

FrameFilePlayback::FrameFilePlayback(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
FrameFilePlayback::~FrameFilePlayback() { stop(); }

std::unique_ptr<FrameFilePlayback> FrameFilePlayback::open(int32_t sprite, const Settings& settings) {
  auto s = std::make_shared<Shared>();
  s->sprite = sprite;
  s->settings = settings;
  uint8_t* buffer = nullptr;
  uint32_t capacity = 0, size = 0;
  if (!loadFile(settings.file, buffer, size, capacity)) return nullptr;
  s->bytes.assign(buffer, buffer + size);
  freeAligned(buffer);
  if (s->bytes.size() >= 116 && std::memcmp(s->bytes.data(), "RIFF", 4) == 0 &&
      std::memcmp(s->bytes.data() + 112, "MJPG", 4) != 0) {
    char codec[12];
    std::snprintf(codec, sizeof codec, "%02X%02X%02X%02X", s->bytes[115], s->bytes[114], s->bytes[113], s->bytes[112]);
    errorc(ReportText().number(sprite).gbk(movie_messages::kBadAviCodec).ascii(codec), true);
    return nullptr;
  }
  std::string problem;
  if (!readFrameFileLayout(s->bytes.data(), s->bytes.size(), settings.frameRate, s->layout, problem)) {
    errorc(ReportText().number(sprite).ascii(" ").gbk(settings.file).ascii(": " + problem), true);
    return nullptr;
  }
  if (settings.variant == 2) {
    uint64_t key = 0;
    uint32_t stored = 0;
    s->file = openFile(settings.file, stored, key);
    if (!s->file) return nullptr;
    s->fileSize = s->bytes.size();
    s->bytes.clear();
    s->bytes.shrink_to_fit();
  }
  if (settings.variant == 0) s->frames.assign(s->layout.frameCount, nullptr);
  return std::unique_ptr<FrameFilePlayback>(new FrameFilePlayback(std::move(s)));
}

bool FrameFilePlayback::start(uint32_t startTime) {
  shared_->startTime = startTime;
  return startWorkerThread(thread_, [s = shared_] { s->run(); });
}

void FrameFilePlayback::stop() {
  if (!thread_.joinable()) return;
  Shared& s = *shared_;
  s.state.askToStop();
  thread_.join();  // a frame's decode is the longest the worker can take to notice
}

const FrameFileLayout& FrameFilePlayback::layout() const { return shared_->layout; }
int32_t FrameFilePlayback::variant() const { return shared_->settings.variant; }
bool FrameFilePlayback::ended() const { return shared_->state.load() == -1; }

Image* FrameFilePlayback::decodedFrame(uint32_t index) {
  std::lock_guard<std::mutex> hold(shared_->lock);
  if (index >= shared_->frames.size() || !shared_->frames[index]) return nullptr;
  return duplicateImage(shared_->frames[index]);
}

Image* FrameFilePlayback::takeNewFrame() {
  std::lock_guard<std::mutex> hold(shared_->lock);
  if (shared_->serial == takenSerial_ || !shared_->latest) return nullptr;
  takenSerial_ = shared_->serial;
  return std::exchange(shared_->latest, nullptr);
}

std::vector<ReportText> FrameFilePlayback::takeReports() {
  std::lock_guard<std::mutex> hold(shared_->lock);
  return std::exchange(shared_->reports, {});
}

}  // namespace vellum
