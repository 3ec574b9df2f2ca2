// Where a decoder puts its picture. The decoder announces the size it read from the file before it
// writes any pixel; the target then either makes a new Image of that size (loadImage) or checks the
// caller's Image against it (loadImageData). Rows are written straight into the target's pixels.
#pragma once

#include <string_view>

#include "image/image.h"

namespace vellum {

class DecodeTarget {
 public:
  // A new Image, created at the announcement and freed again unless released.
  DecodeTarget() = default;
  // The caller's Image, which must already have the file's size.
  explicit DecodeTarget(Image& given) : given_(&given) {}
  ~DecodeTarget();
  DecodeTarget(const DecodeTarget&) = delete;
  DecodeTarget& operator=(const DecodeTarget&) = delete;

  // Returns the picture to fill, or nullptr after reporting (size not positive, width x height x 4
  // beyond 2 GiB, out of memory, or not the caller's size).
  Image* announce(std::string_view codec, long long width, long long height, int bitsPerPixel);
  // The picture announced so far (nullptr before the announcement).
  Image* image() const { return given_ ? (announced_ ? given_ : nullptr) : made_; }
  // Hands a created Image to the caller; the target forgets it.
  Image* release();

 private:
  Image* given_ = nullptr;
  Image* made_ = nullptr;
  bool announced_ = false;
};

// The largest picture any decoder accepts: (height + 1) x width x 4 bytes must stay below 2 GiB, so
// every size computed from it fits a signed 32-bit int.
bool pictureSizeFits(long long width, long long height);

}  // namespace vellum
