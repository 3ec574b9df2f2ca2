// Shared pieces of the image-operation tests: owned pictures, pixel patterns and a way to see the
// failure line an operation prints.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "image/image.h"

namespace vellum::ops_test {

// An opaque (or given alpha) grey pixel of level v.
inline uint32_t grey(uint32_t v, uint32_t alpha = 0xFF) { return alpha << 24 | v * 0x010101u; }

// Frees the picture at the end of the test; get() and address() hand it to the operations.
class OwnedImage {
 public:
  OwnedImage() = default;
  explicit OwnedImage(Image* image) : image_(image) {}
  OwnedImage(const OwnedImage&) = delete;
  OwnedImage& operator=(const OwnedImage&) = delete;
  OwnedImage(OwnedImage&& other) noexcept : image_(std::exchange(other.image_, nullptr)) {}
  ~OwnedImage() { freeImage(image_); }

  Image* get() const { return image_; }
  Image** address() { return &image_; }
  Image* operator->() const { return image_; }
  Image& operator*() const { return *image_; }

  uint32_t at(int x, int y) const { return image_->pixels[static_cast<size_t>(y) * image_->width + x]; }
  uint32_t& at(int x, int y) { return image_->pixels[static_cast<size_t>(y) * image_->width + x]; }
  std::vector<uint32_t> pixels() const { return {image_->pixels, image_->pixels + image_->pixelCount}; }

 private:
  Image* image_ = nullptr;
};

inline OwnedImage makeImage(int width, int height, int bitsPerPixel, const std::function<uint32_t(int, int)>& pixelAt) {
  Image* image = createImage(width, height, bitsPerPixel);
  EXPECT_NE(image, nullptr);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image->pixels[static_cast<size_t>(y) * width + x] = pixelAt(x, y);
  }
  return OwnedImage(image);
}

inline OwnedImage filledImage(int width, int height, int bitsPerPixel, uint32_t value) {
  return makeImage(width, height, bitsPerPixel, [value](int, int) { return value; });
}

// Random pixels; opaque ones for 24-bit pictures.
inline OwnedImage randomImage(int width, int height, int bitsPerPixel, uint32_t seed) {
  std::mt19937 random(seed);
  return makeImage(width, height, bitsPerPixel, [&](int, int) {
    const uint32_t v = static_cast<uint32_t>(random());
    return bitsPerPixel == 32 ? v : (v | 0xFF000000u);
  });
}

// A distinct value per position, for checking where pixels went.
inline uint32_t positionPixel(int x, int y) { return 0xFF000000u | (static_cast<uint32_t>(y) << 8) | static_cast<uint32_t>(x); }

// What `operation` printed on the standard output while it ran.
inline std::string printedBy(const std::function<void()>& operation) {
  ::testing::internal::CaptureStdout();
  operation();
  return ::testing::internal::GetCapturedStdout();
}

// The spare row after the last must stay zero.
inline bool spareRowIsClear(const Image& image) {
  const uint32_t* spare = image.pixels + image.pixelCount;
  for (int x = 0; x < image.width; ++x) {
    if (spare[x] != 0) return false;
  }
  return true;
}

}  // namespace vellum::ops_test
