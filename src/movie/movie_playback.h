// One movie playing on a sprite: the THOR file opened on the main thread, a thread that decodes
// each frame ahead of its due time and hands it over when it falls due (skipping frames it is too
// late for), and the main thread taking each new frame for the sprite's textures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "image/image.h"
#include "movie/thor_header.h"

namespace vellum {

class MoviePlayback {
 public:
  // Opens the movie whose header was read: the file, the decoder and its decode image. `frameRate`
  // non-zero replaces the header's duration by frameCount x 1000 / frameRate. nullptr after a
  // report.
  static std::unique_ptr<MoviePlayback> open(const std::string& file, const ThorHeader& header, int32_t frameRate);
  ~MoviePlayback();  // stops the thread
  MoviePlayback(const MoviePlayback&) = delete;
  MoviePlayback& operator=(const MoviePlayback&) = delete;

  // Starts the thread; frame 0 falls due at `startTime` (milliseconds of the engine's clock).
  bool start(uint32_t startTime);
  // Asks the thread to stop and waits for it up to a second; a thread that does not answer is
  // reported and left to end by itself (it frees its own resources then).
  void stop();

  // The newest frame the thread handed over, when it is newer than the last one taken: a
  // width x height picture owned by the caller. nullptr otherwise.
  Image* takeNewFrame();
  // The same frame put into `target` (a width x height picture, e.g. the sprite's own pixels),
  // which saves a fresh picture a frame: its pixel buffer is exchanged for the frame's where the
  // rows lie alike, so keep no pointer into it. False when there is no newer frame or the size
  // differs.
  bool takeNewFrameInto(Image& target);
  // The size of the stream's pictures (rounded up to even) when it is not the header's: true once,
  // after the first frame showed it. The frames are cut to the header's picture or padded black.
  bool takeOtherStreamSize(uint32_t& streamWidth, uint32_t& streamHeight);

  int32_t state() const;    // 1 start asked, 2 running, 0 stop asked, -1 ended
  int32_t current() const;  // the next frame to show
  uint32_t durationMs() const;
  uint32_t frameCount() const;
  uint64_t framesDecoded() const;  // frames the decoder produced (late ones are skipped)
  uint32_t width() const;
  uint32_t height() const;

  struct Shared;

 private:
  explicit MoviePlayback(std::shared_ptr<Shared> shared);
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace vellum
