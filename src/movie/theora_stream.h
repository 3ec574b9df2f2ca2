// An Ogg Theora video read through a byte source and decoded frame by frame. Frames are the
// stream's data packets counted from 0; reaching an earlier frame than the last decoded one starts
// again from the first. Only 4:2:0 streams are accepted (the colour conversion's shape).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "movie/colour_conversion.h"

namespace vellum {

struct TheoraStreamInfo {
  uint32_t pictureWidth = 0, pictureHeight = 0;  // the visible picture
  uint32_t frameWidth = 0, frameHeight = 0;      // the coded frame (multiples of 16)
  uint32_t framesPerSecondNumerator = 0, framesPerSecondDenominator = 0;
};

class TheoraStream {
 public:
  // Reads up to `size` bytes at `offset` into `destination`; returns how many it read.
  using Read = std::function<size_t(uint8_t* destination, uint64_t offset, size_t size)>;

  TheoraStream(Read read, uint64_t length);
  ~TheoraStream();
  TheoraStream(const TheoraStream&) = delete;
  TheoraStream& operator=(const TheoraStream&) = delete;

  // Finds the Theora stream and reads its headers. False with `problem` set when it cannot.
  bool open(std::string& problem);
  const TheoraStreamInfo& info() const;

  // Decodes frames up to `index`. False when the stream ends first (the last frame stays).
  bool decodeTo(int64_t index);
  int64_t lastDecoded() const;  // -1 before the first frame

  // The picture region of the last decoded frame, top row first (even sides). False before the
  // first frame.
  bool planes(FramePlanes& out) const;

  // The number of frames from here to the end of the stream (reads, but does not decode, them).
  int64_t countRemainingFrames();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vellum
