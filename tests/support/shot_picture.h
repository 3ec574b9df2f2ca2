// A picture a game left behind (a --shots PNG, a thumbnail), decoded with the engine's own reader,
// with the measures the playthrough tests check: the colour of an area, how many bright pixels.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/image.h"
#include "image/image_io.h"

namespace vellum::test {

struct ShotRgb {
  int r, g, b;
  int luminance() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

class ShotPicture {
 public:
  explicit ShotPicture(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    image_ = bytes.empty() ? nullptr : loadImage(bytes.data(), bytes.size());
  }
  ~ShotPicture() { freeImage(image_); }
  ShotPicture(const ShotPicture&) = delete;
  ShotPicture& operator=(const ShotPicture&) = delete;

  bool loaded() const { return image_ != nullptr; }
  int width() const { return image_->width; }
  int height() const { return image_->height; }
  ShotRgb at(int x, int y) const {
    const uint32_t p = image_->pixels[static_cast<size_t>(y) * static_cast<size_t>(image_->width) + static_cast<size_t>(x)];
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
  }
  // The mean colour of a rectangle.
  ShotRgb mean(int x0, int y0, int x1, int y1) const {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x, ++n) {
        const ShotRgb c = at(x, y);
        r += c.r;
        g += c.g;
        b += c.b;
      }
    }
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
  }
  // Pixels of a rectangle brighter than the threshold.
  int brightPixels(int x0, int y0, int x1, int y1, int threshold = 200) const {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += at(x, y).luminance() > threshold ? 1 : 0;
    }
    return n;
  }

 private:
  Image* image_ = nullptr;
};

}  // namespace vellum::test
