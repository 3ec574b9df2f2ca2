#include "image/ops/blur.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "image/ops/ops_report.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"
#include "image/ops/rounded_division.h"
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

  // Window edges are worked out in 64 bits: a radius may be as large as the picture.

  // Output rows [begin, end): per-column sums over the rows of the window slide down the band,
  // and each output row slides a window along them.
  void rows(int begin, int end) const {
    const int width = source_.width;
    std::vector<Sum> columns(static_cast<size_t>(width) * kChannels, 0);
    const int64_t lastRow = source_.height - 1;
    for (int64_t y = std::max<int64_t>(0, begin - ry_); y <= std::min(lastRow, begin + ry_); ++y) addRow(columns, y, +1);
    for (int64_t y = begin; y < end; ++y) {
      const int64_t rowCount = std::min(lastRow, y + ry_) - std::max<int64_t>(0, y - ry_) + 1;
      writeRow(columns, y, rowCount);
      if (y - ry_ >= 0) addRow(columns, y - ry_, -1);
      if (y + ry_ + 1 < source_.height) addRow(columns, y + ry_ + 1, +1);
    }
  }

 private:
  void addRow(std::vector<Sum>& columns, int64_t y, int sign) const {
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

  void writeRow(const std::vector<Sum>& columns, int64_t y, int64_t rowCount) const {
    const int64_t width = source_.width;
    const Sum* c = columns.data();
    Sum window[kChannels] = {};
    for (int64_t x = 0; x <= std::min(width - 1, rx_); ++x) {
      for (int i = 0; i < kChannels; ++i) window[i] += c[x * kChannels + i];
    }
    const uint32_t* sourceRow = rowOf(source_, y);
    uint32_t* out = rowOf(target_, y);
    for (int64_t x = 0; x < width; ++x) {
      const Sum n = static_cast<Sum>(std::min(width - 1, x + rx_) - std::max<int64_t>(0, x - rx_) + 1) * static_cast<Sum>(rowCount);
      out[x] = average(window, n, sourceRow[x]);
      const int64_t leaving = x - rx_, entering = x + rx_ + 1;
      if (leaving >= 0) {
        for (int i = 0; i < kChannels; ++i) window[i] -= c[leaving * kChannels + i];
      }
      if (entering < width) {
        for (int i = 0; i < kChannels; ++i) window[i] += c[entering * kChannels + i];
      }
    }
  }

  static uint32_t average(const Sum (&s)[kChannels], Sum n, uint32_t original) {
    if constexpr (sizeof(Sum) == 4) {
      // 32-bit sums come from windows small enough for the reciprocal division to be exact.
      const RoundedDivision byCount(n);
      if constexpr (kWeighted) {
        if (s[0] == 0) return 0;
        const RoundedDivision byAlpha(s[0]);
        return pixel::make(byCount.of(s[0]), byAlpha.of(s[3]), byAlpha.of(s[2]), byAlpha.of(s[1]));
      } else {
        return (original & pixel::kOpaque) | pixel::make(0, byCount.of(s[2]), byCount.of(s[1]), byCount.of(s[0]));
      }
    } else {
      const auto mean = [](Sum v, Sum d) { return static_cast<uint32_t>((v + d / 2) / d); };
      if constexpr (kWeighted) {
        if (s[0] == 0) return 0;
        return pixel::make(mean(s[0], n), mean(s[3], s[0]), mean(s[2], s[0]), mean(s[1], s[0]));
      } else {
        return (original & pixel::kOpaque) | pixel::make(0, mean(s[2], n), mean(s[1], n), mean(s[0], n));
      }
    }
  }

  const Image& source_;
  Image& target_;
  int64_t rx_, ry_;
};

template <typename Sum, bool kWeighted>
void blurInto(const Image& source, Image& target, int rx, int ry) {
  const BoxBlur<Sum, kWeighted> blur(source, target, rx, ry);
  // A band shorter than the window would mostly redo its neighbours' column sums.
  const int minRows = static_cast<int>(std::min<int64_t>(source.height, std::max<int64_t>(minRowsPerBand(source.width), 2 * int64_t{ry} + 1)));
  forEachRowBand(source.height, minRows,
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
