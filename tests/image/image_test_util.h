// Shared pieces of the picture codec tests: owned Images, random pictures, encoding and decoding
// through the engine's functions, and a recorder for the console lines the codecs print.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/report.h"
#include "image/image.h"
#include "image/image_io.h"

namespace vellum::image_test {

using Bytes = std::vector<uint8_t>;

struct ImageDeleter {
  void operator()(Image* image) const { freeImage(image); }
};
using ImagePtr = std::unique_ptr<Image, ImageDeleter>;

// Random pixels that mean what `bits` says: 8 opaque grey, 24 opaque colour, 32 any.
inline ImagePtr randomImage(int width, int height, int bits, uint32_t seed) {
  ImagePtr image(createImage(width, height, bits));
  std::mt19937 rng(seed);
  for (int i = 0; i < width * height; ++i) {
    uint32_t v = rng();
    if (bits == 8) v = 0xFF000000u | (v & 0xFF) * 0x010101u;
    else if (bits == 24) v |= 0xFF000000u;
    image->pixels[i] = v;
  }
  return image;
}

// A smooth picture with a little noise, closer to what games show than pure noise.
inline ImagePtr photoLikeImage(int width, int height, uint32_t seed) {
  ImagePtr image(createImage(width, height, 32));
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t noise = rng() & 0x03;
      const uint32_t b = (x * 255 / width + noise) & 0xFF;
      const uint32_t g = (y * 255 / height + noise) & 0xFF;
      const uint32_t r = ((x + y) * 127 / (width + height) + 64 + noise) & 0xFF;
      const uint32_t a = (x / 16 + y / 16) % 2 ? 255 : 128;
      image->pixels[y * width + x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  return image;
}

inline void setLayer(Image& image, const char* name, int left, int top, int mode) {
  std::snprintf(image.name, sizeof image.name, "%s", name);
  image.left = left;
  image.top = top;
  image.mode = mode;
}

inline Bytes encode(Image& image, SaveFormat format, int option1 = 0, int option2 = 0, int option3 = 0) {
  Bytes out;
  EXPECT_TRUE(encodeImage(&image, SaveRequest{format, option1, option2, option3}, "test", out));
  return out;
}

inline ImagePtr decode(const Bytes& bytes) { return ImagePtr(loadImage(bytes.data(), bytes.size())); }

// Index of the first differing pixel, or -1.
inline long firstDifference(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return 0;
  for (long i = 0; i < long{a.width} * a.height; ++i) {
    if (a.pixels[i] != b.pixels[i]) return i;
  }
  return -1;
}

inline std::string hexPixel(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", v);
  return text;
}

// Keeps the console lines the codecs print while the test runs.
class ConsoleRecorder : public ReportSink {
 public:
  ConsoleRecorder() { previous_ = setReportSink(this); }
  ~ConsoleRecorder() override { setReportSink(previous_); }
  void errorBox(const ReportText& text) override { boxes.push_back(text.utf8()); }
  void outputLine(const ReportText& text) override {
    lines.push_back(text.utf8());
    lineBytes.push_back(text.bytes());
  }
  bool printed(const std::string& fragment) const {
    for (const std::string& line : lines) {
      if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
  }
  std::vector<std::string> lines;  // UTF-8
  std::vector<std::string> lineBytes;
  std::vector<std::string> boxes;

 private:
  ReportSink* previous_ = nullptr;
};

inline std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

inline void putLe32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void putLe16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace vellum::image_test
