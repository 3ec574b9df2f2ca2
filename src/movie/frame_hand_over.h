// The frames a movie thread hands to the main thread, passed on as whole buffers instead of being
// copied. The thread converts each frame into its decode image and swaps that image's buffer for
// the one waiting to be taken; the main thread swaps the waiting buffer for the one it took
// before, and exchanges it with the sprite's kept pixels when their rows lie alike (copies it
// otherwise). Each buffer has one owner at a time — the decode image, the waiting slot (under the
// lock) or the main thread — so no buffer is read while another thread writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "image/image.h"

namespace vellum {

class FrameHandOver {
 public:
  FrameHandOver() = default;
  ~FrameHandOver();
  FrameHandOver(const FrameHandOver&) = delete;
  FrameHandOver& operator=(const FrameHandOver&) = delete;

  // Frames of width x height pixels with rows as far apart as `decodeImage`'s (at least `width`).
  // Every buffer holds height + 1 such rows, as a picture of the frame's size does, so the thread
  // must write no row past those whatever the decode image's own height. False when memory runs
  // out or the image is narrower or lower than the frames.
  bool prepare(const Image& decodeImage, uint32_t width, uint32_t height);

  // The movie thread: the frame in `decodeImage` becomes the waiting one, and the image gets a
  // buffer whose content is stale (the next frame rewrites it).
  void handOver(Image& decodeImage);

  // The main thread: the newest frame, when newer than the last one taken, into `target` (a
  // width x height picture). False when there is none or the size differs.
  bool takeInto(Image& target);
  // The same as a new width x height picture owned by the caller; nullptr when there is none.
  Image* take();

 private:
  uint32_t* newBuffer() const;
  bool takeWaiting();
  void copyTaken(Image& target) const;

  uint32_t width_ = 0, height_ = 0;
  size_t stride_ = 0;  // pixels from one row to the next
  size_t words_ = 0;   // what every buffer holds at least: (height + 1) rows

  std::mutex lock_;
  uint32_t* waiting_ = nullptr;  // under lock_
  uint64_t serial_ = 0;          // under lock_: frames handed over so far

  uint32_t* taken_ = nullptr;  // the main thread's
  uint64_t takenSerial_ = 0;
};

}  // namespace vellum
