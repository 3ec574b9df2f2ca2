// A frame file (AVI of MJPG frames, or the MJPG container) played on a sprite by a worker thread.
// Variant 0 decodes every frame once, after the start time, into a frame array that the main
// thread shows frame by frame when each falls due (and again in later passes). Variants 1 and 2
// decode each frame just before it falls due, skipping frames already late, pass after pass;
// variant 2 reads the chunks from the file instead of holding the file in memory. The main thread
// puts what they hand over into the sprite's textures.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/report.h"
#include "image/image.h"
#include "movie/frame_files.h"

namespace vellum {

class FrameFilePlayback {
 public:
  struct Settings {
    std::string file;
    int32_t variant = 0;
    int32_t passes = 1;
    int32_t frameRate = 0;
    std::array<int32_t, 8> loadEffects{};
  };

  // Reads the file and its layout. nullptr after a report.
  static std::unique_ptr<FrameFilePlayback> open(int32_t sprite, const Settings& settings);
  ~FrameFilePlayback();
  FrameFilePlayback(const FrameFilePlayback&) = delete;
  FrameFilePlayback& operator=(const FrameFilePlayback&) = delete;

  bool start(uint32_t startTime);
  void stop();

  const FrameFileLayout& layout() const;
  int32_t variant() const;

  // Variant 0: a copy of frame `index` once the worker decoded it; nullptr before.
  Image* decodedFrame(uint32_t index);
  // Variants 1 and 2: the newest frame handed over since the last call; nullptr when none.
  Image* takeNewFrame();
  // Reports the worker left for the main thread (a worker never reports itself).
  std::vector<ReportText> takeReports();
  bool ended() const;

  struct Shared;

 private:
  explicit FrameFilePlayback(std::shared_ptr<Shared> shared);
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  uint64_t takenSerial_ = 0;
};

}  // namespace vellum
