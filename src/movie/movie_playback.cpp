#include "movie/movie_playback.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/clock.h"
#include "base/report.h"
#include "movie/colour_conversion.h"
#include "movie/frame_hand_over.h"
#include "movie/movie_messages.h"
#include "movie/worker_state.h"
#include "movie/theora_library.h"
#include "storage/file_loader.h"

namespace vellum {

// Everything the movie thread touches. The thread holds a reference of its own, so a thread that
// is given up on after a stop request still frees these itself when it finally ends.
struct MoviePlayback::Shared {
  WorkerState state;
  std::atomic<int32_t> current{0};
  std::atomic<uint64_t> decodedFrames{0};
  // The stream's picture size (width << 16 | height) when it is not the header's; 0 otherwise or
  // once the main thread took it.
  std::atomic<uint32_t> otherStreamSize{0};
  uint32_t startTime = 0;
  uint32_t duration = 0;
  uint32_t frameCount = 0;
  uint32_t width = 0, height = 0;

  // The decoder's side: only the movie thread uses these once it runs.
  const TheoraLibrary* library = nullptr;
  void* decoder = nullptr;
  FILE* file = nullptr;
  uint64_t videoBase = 0;
  uint32_t videoLength = 0;
  Image* decodeImage = nullptr;
  ColourForm form = ColourForm::Plain;

  // The frames that fell due, passed to the main thread.
  FrameHandOver frames;

  ~Shared() {
    if (decoder && library) library->free(decoder);
    if (file) std::fclose(file);
    freeImage(decodeImage);
  }

  uint32_t elapsedSinceStart() const { return tickMilliseconds() - startTime; }
  bool due(uint32_t frame) const {
    // Frame i falls due at start + i x duration / frameCount; all of it in 64 bits.
    return uint64_t{elapsedSinceStart()} * frameCount / duration >= frame;
  }
  // Sleeps up to `ms`, returning early when a stop is asked.
  void nap(uint32_t ms) { state.nap(ms); }

  void run();
};

namespace {

int32_t readVideo(void* stream, void* destination, int32_t offset, int32_t size) {
  auto* s = static_cast<MoviePlayback::Shared*>(stream);
  if (offset < 0 || size <= 0 || static_cast<uint32_t>(offset) >= s->videoLength) return 0;
  // Reads stay inside the video's bytes.
  const uint32_t n = std::min<uint32_t>(static_cast<uint32_t>(size), s->videoLength - static_cast<uint32_t>(offset));
  if (fseeko(s->file, static_cast<off_t>(s->videoBase + static_cast<uint32_t>(offset)), SEEK_SET) != 0) return 0;
  return static_cast<int32_t>(std::fread(destination, 1, n, s->file));
}

int32_t videoLengthOf(void* stream) { return static_cast<int32_t>(static_cast<MoviePlayback::Shared*>(stream)->videoLength); }

// What the decoder's callbacks need besides the decode image, set by the movie thread before it
// asks for frames (the callbacks run on the thread that asks).
struct FrameTarget {
  ColourForm form = ColourForm::Plain;
  int32_t width = 0, height = 0;  // the movie's picture
  bool wrote = false;             // a frame went into the decode image since the last hand-over
  int32_t streamWidth = 0, streamHeight = 0;  // the planes' size, once a frame came as planes
};
thread_local FrameTarget frameTarget;

// Rows up to the picture's height + 1: the hand-over's buffers hold no more.
void* rowAddress(void* image, int32_t row) {
  auto* i = static_cast<Image*>(image);
  if (row < 0 || row > frameTarget.height || row >= i->height) return nullptr;
  frameTarget.wrote = true;
  return i->pixels + static_cast<size_t>(row) * static_cast<size_t>(i->width);
}

void noop() {}

// Opaque black where a frame smaller than the movie's picture left it uncovered.
void blackenOutside(Image& image, int32_t frameWidth, int32_t frameHeight, int32_t width, int32_t height) {
  for (int32_t y = 0; y < height; ++y) {
    uint32_t* row = image.pixels + static_cast<size_t>(y) * static_cast<size_t>(image.width);
    std::fill(row + (y < frameHeight ? frameWidth : 0), row + width, 0xFF000000u);
  }
}

// The decoder's planes go through the colour conversion straight into the decode image. A frame
// larger than the movie's picture is cut to it (in whole 2 x 2 blocks), so each frame rewrites
// the picture and nothing past it.
int32_t convertPlanes(void* image, int32_t, const void* planes) {
  auto* i = static_cast<Image*>(image);
  const FrameTarget& t = frameTarget;
  FramePlanes p = *static_cast<const FramePlanes*>(planes);
  frameTarget.streamWidth = p.lumaWidth;
  frameTarget.streamHeight = p.lumaHeight;
  p.lumaWidth = std::min(p.lumaWidth, (t.width + 1) & ~1);
  p.lumaHeight = std::min(p.lumaHeight, (t.height + 1) & ~1);
  if (!convertFrame(p, i->pixels, i->width, i->height, t.form)) return 1;
  if (p.lumaWidth < t.width || p.lumaHeight < t.height) blackenOutside(*i, p.lumaWidth, p.lumaHeight, t.width, t.height);
  frameTarget.wrote = true;
  return 1;
}

uint32_t roundUp32(uint32_t v) { return (v + 31u) & ~31u; }

}  // namespace

void MoviePlayback::Shared::run() {
  frameTarget = {form, static_cast<int32_t>(width), static_cast<int32_t>(height), false, 0, 0};
  bool sizeChecked = false;
  state.beginRunning();
  while (state.load() != 0 && static_cast<int32_t>(tickMilliseconds() - startTime) < 0) nap(1);
  while (state.load() != 0) {
    const uint32_t frame = static_cast<uint32_t>(current.load());
    if (frame >= frameCount) {
      // The last frame stays on the sprite; nothing more to decode until the stop request.
      nap(50);
      continue;
    }
    const uint64_t target = uint64_t{elapsedSinceStart()} * frameCount / duration;
    if (frame < target) {
      current.store(static_cast<int32_t>(frame + 1));  // too late for this one: skip it undecoded
      continue;
    }
    library->decodeFrame(decoder, static_cast<int32_t>(frame));
    decodedFrames.fetch_add(1);
    if (!sizeChecked && frameTarget.streamWidth > 0) {
      // Planes come in whole 2 x 2 blocks: sizes are compared rounded up to even.
      sizeChecked = true;
      const auto even = [](int32_t v) { return static_cast<uint32_t>((v + 1) & ~1); };
      const uint32_t w = even(frameTarget.streamWidth), h = even(frameTarget.streamHeight);
      if (w != even(static_cast<int32_t>(width)) || h != even(static_cast<int32_t>(height)))
        otherStreamSize.store(std::min(w, 0xFFFFu) << 16 | std::min(h, 0xFFFFu));
    }
    while (state.load() != 0 && !due(frame)) nap(1);
    if (state.load() == 0) break;
    current.store(static_cast<int32_t>(frame + 1));
    // A frame the decoder did not deliver (past the stream's end) leaves the last one shown.
    if (std::exchange(frameTarget.wrote, false)) frames.handOver(*decodeImage);
  }
  if (decoder) library->free(decoder);
  decoder = nullptr;
  if (file) std::fclose(file);
  file = nullptr;
  freeImage(decodeImage);
  state.store(-1);
}

MoviePlayback::MoviePlayback(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

MoviePlayback::~MoviePlayback() { stop(); }

std::unique_ptr<MoviePlayback> MoviePlayback::open(const std::string& name, const ThorHeader& header, int32_t frameRate) {
  auto s = std::make_shared<Shared>();
  s->library = theoraLibrary();
  if (!s->library) {
    errorc(ReportText().ascii(movie_messages::kNoDecoder), true);
    return nullptr;
  }
  s->frameCount = header.frameCount;
  s->duration = frameRate > 0 ? static_cast<uint32_t>(uint64_t{header.frameCount} * 1000u / static_cast<uint32_t>(frameRate))
                              : header.durationMs;
  s->width = header.width;
  s->height = header.height;
  s->videoLength = header.videoLength;
  if (s->duration == 0 || s->frameCount == 0) return nullptr;
  uint32_t size = 0;
  uint64_t key = 0;
  s->file = openFile(name, size, key);
  if (!s->file) {
    errorc(ReportText().gbk(name).sjis(movie_messages::kCannotOpen), true);
    return nullptr;
  }
  // The video is read from the stored bytes: an archive entry packed any other way is no movie.
  char magic[4] = {};
  const off_t base = ftello(s->file);
  if (std::fread(magic, 1, 4, s->file) != 4 || std::memcmp(magic, "THOR", 4) != 0 ||
      (size != 0 && header.videoOffset() + header.videoLength > size)) {
    errorc(ReportText().gbk(name).ascii(movie_messages::kStoredPacked), true);
    return nullptr;
  }
  s->videoBase = static_cast<uint64_t>(base) + header.videoOffset();
  s->decodeImage = createImage(static_cast<int>(roundUp32(header.width)), static_cast<int>(roundUp32(header.height)), 32);
  if (!s->decodeImage) {
    errorc(ReportText().gbk(name).sjis(movie_messages::kNoTexture), true);
    return nullptr;
  }
  if (!s->frames.prepare(*s->decodeImage, header.width, header.height)) {
    errorc(ReportText().gbk(name).sjis(movie_messages::kNoTexture), true);
    return nullptr;
  }
  s->form = chosenColourForm();
  s->decoder = s->library->create();
  if (!s->library->load(s->decoder, s.get(), &readVideo, &videoLengthOf, s->decodeImage, &rowAddress, &noop,
                        &convertPlanes)) {
    showErrorBox(ReportText().ascii(movie_messages::kDecoderRefused));
    return nullptr;  // the decoder, the decode image and the file go with `s`
  }
  s->library->setVerticalReverse(s->decoder, 1);
  return std::unique_ptr<MoviePlayback>(new MoviePlayback(std::move(s)));
}

bool MoviePlayback::start(uint32_t startTime) {
  shared_->startTime = startTime;
  return startWorkerThread(thread_, [s = shared_] { s->run(); });
}

void MoviePlayback::stop() {
  if (!thread_.joinable()) return;
  Shared& s = *shared_;
  s.state.askToStop();
  const uint32_t asked = tickMilliseconds();
  while (s.state.load() != -1 && tickMilliseconds() - asked <= 1000)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (s.state.load() == -1) {
    thread_.join();
  } else {
    // Never killed: the thread frees the decoder, the file and the image itself when it ends.
    showErrorBox(ReportText(movie_messages::kThreadDidNotEnd, CodePage::Gbk));
    thread_.detach();
  }
}

Image* MoviePlayback::takeNewFrame() { return shared_->frames.take(); }

bool MoviePlayback::takeNewFrameInto(Image& target) { return shared_->frames.takeInto(target); }

bool MoviePlayback::takeOtherStreamSize(uint32_t& streamWidth, uint32_t& streamHeight) {
  const uint32_t size = shared_->otherStreamSize.exchange(0);
  if (size == 0) return false;
  streamWidth = size >> 16;
  streamHeight = size & 0xFFFFu;
  return true;
}

int32_t MoviePlayback::state() const { return shared_->state.load(); }
int32_t MoviePlayback::current() const { return shared_->current.load(); }
uint32_t MoviePlayback::durationMs() const { return shared_->duration; }
uint32_t MoviePlayback::frameCount() const { return shared_->frameCount; }
uint64_t MoviePlayback::framesDecoded() const { return shared_->decodedFrames.load(); }
uint32_t MoviePlayback::width() const { return shared_->width; }
uint32_t MoviePlayback::height() const { return shared_->height; }

}  // namespace vellum
