#include "image/ops/blur.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "image/ops/layer_placement.h"
#include "image/ops/ops_report.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"
#include "image/ops/worker_bands.h"

namespace vellum {

namespace {

constexpr char kBlurCode[] = "BLR";

// Channel sums of one pixel: alpha-weighted (a, b*a, g*a, r*a) or plain (b, g, r).
template <bool kWeighted>
struct Channels {
  static constexpr int kCount = kWeighted ? 4 : 3;
};

template <typename Sum, bool kWeighted>
class BoxBlur {
 public:
  static constexpr int kChannels = Channels<kWeighted>::kCount;

  BoxBlur(const Image& source, Image& target, int rx, int ry) : source_(source), target_(target), rx_(rx), ry_(ry) {}

  // Output rows [begin, end): per-column sums over the rows of the window slide down the band,
  // and each output row slides a window along them.
  void rows(int begin, int end) const {
    const int width = source_.width;
    std::vector<Sum> columns(static_cast<size_t>(width) * kChannels, 0);
    for (int y = std::max(0, begin - ry_); y <= std::min(source_.height - 1, begin + ry_); ++y) addRow(columns, y, +1);
    for (int y = begin; y < end; ++y) {
      const int rowCount = std::min(source_.height - 1, y + ry_) - std::max(0, y - ry_) + 1;
      writeRow(columns, y, rowCount);
      if (y - ry_ >= 0) addRow(columns, y - ry_, -1);
      if (y + ry_ + 1 < source_.height) addRow(columns, y + ry_ + 1, +1);
    }
  }

 private:
  void addRow(std::vector<Sum>& columns, int y, int sign) const {
    const uint32_t* row = rowOf(source_, y);
    Sum* c = columns.data();
    for (int x = 0; x < source_.width; ++x, c += kChannels) {
      Sum v[kChannels];
      load(row[x], v);
      for (int i = 0; i < kChannels; ++i) c[i] = sign > 0 ? c[i] + v[i] : c[i] - v[i];
    }
  }

  static void load(uint32_t p, Sum (&v)[kChannels]) {
    if constexpr (kWeighted) {
      const Sum a = pixel::alpha(p);
      v[0] = a;
      v[1] = a * pixel::blue(p);
      v[2] = a * pixel::green(p);
      v[3] = a * pixel::red(p);
    } else {
      v[0] = pixel::blue(p);
      v[1] = pixel::green(p);
      v[2] = pixel::red(p);
    }
  }

  void writeRow(const std::vector<Sum>& columns, int y, int rowCount) const {
    const int width = source_.width;
    const Sum* c = columns.data();
    Sum window[kChannels] = {};
    for (int x = 0; x <= std::min(width - 1, rx_); ++x) {
      for (int i = 0; i < kChannels; ++i) window[i] += c[x * kChannels + i];
    }
    const uint32_t* sourceRow = rowOf(source_, y);
    uint32_t* out = rowOf(target_, y);
    for (int x = 0; x < width; ++x) {
      const Sum n = static_cast<Sum>(std::min(width - 1, x + rx_) - std::max(0, x - rx_) + 1) * static_cast<Sum>(rowCount);
      out[x] = average(window, n, sourceRow[x]);
      const int leaving = x - rx_, entering = x + rx_ + 1;
      if (leaving >= 0) {
        for (int i = 0; i < kChannels; ++i) window[i] -= c[leaving * kChannels + i];
      }
      if (entering < width) {
        for (int i = 0; i < kChannels; ++i) window[i] += c[entering * kChannels + i];
      }
    }
  }

  static uint32_t average(const Sum (&s)[kChannels], Sum n, uint32_t original) {
    if constexpr (kWeighted) {
      const Sum a = s[0];
      if (a == 0) return 0;
      const auto mean = [a](Sum v) { return static_cast<uint32_t>((v + a / 2) / a); };
      return pixel::make(static_cast<uint32_t>((a + n / 2) / n), mean(s[3]), mean(s[2]), mean(s[1]));
    } else {
      const auto mean = [n](Sum v) { return static_cast<uint32_t>((v + n / 2) / n); };
      return (original & pixel::kOpaque) | pixel::make(0, mean(s[2]), mean(s[1]), mean(s[0]));
    }
  }

  const Image& source_;
  Image& target_;
  int rx_, ry_;
};

template <typename Sum, bool kWeighted>
void blurInto(const Image& source, Image& target, int rx, int ry) {
  const BoxBlur<Sum, kWeighted> blur(source, target, rx, ry);
  forEachRowBand(source.height, std::max(minRowsPerBand(source.width), 2 * ry + 1),
                 [&blur](int begin, int end) { blur.rows(begin, end); });
}

}  // namespace

int blurImage(Image* image, int xRadius, int yRadius) {
  if (!image) return reportImageFailure(kBlurCode, ImageFailure::NoPicture);
  if (xRadius < 0 || yRadius < 0) return reportImageFailure(kBlurCode, ImageFailure::InvalidSize);
  // A window wider than the picture sees the whole picture anyway.
  const int rx = std::min(xRadius, image->width - 1), ry = std::min(yRadius, image->height - 1);
  if (rx == 0 && ry == 0) return 1;

  Image* target = createImage(image->width, image->height, image->bitsPerPixel);
  if (!target) return reportImageFailure(kBlurCode, ImageFailure::Memory);
  const bool weighted = image->bitsPerPixel == 32;
  // The largest sum a window can reach decides whether 32 bits hold it.
  const uint64_t windowPixels = uint64_t(std::min(2 * int64_t{rx} + 1, int64_t{image->width})) *
                                uint64_t(std::min(2 * int64_t{ry} + 1, int64_t{image->height}));
  const bool narrow = windowPixels * (weighted ? 255 * 255 : 255) <= std::numeric_limits<uint32_t>::max();
  try {
    if (weighted) {
      narrow ? blurInto<uint32_t, true>(*image, *target, rx, ry) : blurInto<uint64_t, true>(*image, *target, rx, ry);
    } else {
      narrow ? blurInto<uint32_t, false>(*image, *target, rx, ry) : blurInto<uint64_t, false>(*image, *target, rx, ry);
    }
  } catch (const std::bad_alloc&) {
    freeImage(target);
    return reportImageFailure(kBlurCode, ImageFailure::Memory);
  }
  std::swap(image->pixels, target->pixels);
  freeImage(target);
  return 1;
}

}  // namespace vellum
