#include "movie/frame_hand_over.h"

#include <cstring>
#include <utility>

#include "storage/aligned_memory.h"

namespace vellum {

FrameHandOver::~FrameHandOver() {
  freeAligned(waiting_);
  freeAligned(taken_);
}

uint32_t* FrameHandOver::newBuffer() const {
  auto* b = static_cast<uint32_t*>(allocAligned(words_ * 4));
  if (b) std::memset(b, 0, words_ * 4);
  return b;
}

bool FrameHandOver::prepare(const Image& decodeImage, uint32_t width, uint32_t height) {
  if (width > static_cast<uint32_t>(decodeImage.width) || height > static_cast<uint32_t>(decodeImage.height)) return false;
  width_ = width;
  height_ = height;
  stride_ = static_cast<size_t>(decodeImage.width);
  words_ = stride_ * (size_t{height} + 1);
  waiting_ = newBuffer();
  taken_ = newBuffer();
  return waiting_ && taken_;
}

void FrameHandOver::handOver(Image& decodeImage) {
  std::lock_guard<std::mutex> hold(lock_);
  std::swap(decodeImage.pixels, waiting_);
  ++serial_;
}

// The waiting frame becomes the taken one, when it is newer.
bool FrameHandOver::takeWaiting() {
  std::lock_guard<std::mutex> hold(lock_);
  if (serial_ == takenSerial_) return false;
  std::swap(waiting_, taken_);
  takenSerial_ = serial_;
  return true;
}

void FrameHandOver::copyTaken(Image& target) const {
  for (size_t y = 0; y < height_; ++y)
    std::memcpy(target.pixels + y * width_, taken_ + y * stride_, size_t{width_} * 4);
}

bool FrameHandOver::takeInto(Image& target) {
  if (!target.pixels || static_cast<uint32_t>(target.width) != width_ || static_cast<uint32_t>(target.height) != height_)
    return false;
  if (!takeWaiting()) return false;
  if (stride_ == width_) {
    // Rows alike: the picture's buffer holds (height + 1) x width words, as every buffer here
    // does, so the two are simply exchanged.
    std::swap(target.pixels, taken_);
  } else {
    copyTaken(target);
  }
  return true;
}

Image* FrameHandOver::take() {
  Image* frame = createImage(static_cast<int>(width_), static_cast<int>(height_), 32);
  if (!frame) return nullptr;
  if (!takeWaiting()) {
    freeImage(frame);
    return nullptr;
  }
  copyTaken(*frame);
  return frame;
}

}  // namespace vellum
