#include "image/ops/separable_resampler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/ops/layer_placement.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"
#include "image/ops/worker_bands.h"

namespace vellum {

namespace {

// Every channel is carried as a 16-bit value: with alpha weighting, colour * alpha and
// alpha * 255 (both up to 65025); without it, colour * 256. A weighted sum of carried values stays
// within 32 bits: weights sum to 1 << 14, and the cubic kernel's positive lobes add at most 15%.
constexpr int kChannels = 4;
constexpr int32_t kCarriedMax = 65280;

int32_t roundWeighted(int32_t sum) {
  return static_cast<int32_t>(std::clamp<int32_t>((sum + kWeightOne / 2) >> kWeightBits, 0, kCarriedMax));
}

void carryRow(const uint32_t* row, int width, bool weighted, int32_t* out) {
  for (int x = 0; x < width; ++x, out += kChannels) {
    const uint32_t p = row[x];
    const int32_t a = weighted ? static_cast<int32_t>(pixel::alpha(p)) : 256;
    out[0] = static_cast<int32_t>(pixel::blue(p)) * a;
    out[1] = static_cast<int32_t>(pixel::green(p)) * a;
    out[2] = static_cast<int32_t>(pixel::red(p)) * a;
    out[3] = weighted ? a * 255 : 0;
  }
}

uint32_t finishPixel(const int32_t* v, bool weighted) {
  if (!weighted) {
    auto channel = [](int32_t c) { return static_cast<uint32_t>(std::min(255, (c + 128) >> 8)); };
    return pixel::kOpaque | pixel::make(0, channel(v[2]), channel(v[1]), channel(v[0]));
  }
  const int32_t alpha255 = v[3];
  if (alpha255 == 0) return 0;
  auto channel = [alpha255](int32_t c) {
    return static_cast<uint32_t>(std::min<int64_t>(255, (int64_t{c} * 255 + alpha255 / 2) / alpha255));
  };
  const auto alpha = static_cast<uint32_t>((alpha255 + 127) / 255);
  return pixel::make(alpha, channel(v[2]), channel(v[1]), channel(v[0]));
}

}  // namespace

void resamplePicture(const Image& source, Image& target, Resampler kind) {
  const AxisTaps columns = makeAxisTaps(kind, source.width, target.width);
  const AxisTaps rows = makeAxisTaps(kind, source.height, target.height);
  const bool weighted = source.bitsPerPixel == 32;
  const int64_t outWidth = target.width;

  // Only the source rows some target row reads are resampled along the row.
  std::vector<uint8_t> rowNeeded(static_cast<size_t>(source.height), 0);
  for (int32_t y : rows.index) rowNeeded[y] = 1;

  std::vector<uint16_t> intermediate(static_cast<size_t>(source.height) * static_cast<size_t>(outWidth) * kChannels);
  forEachRowBand(source.height, minRowsPerBand(std::max<int64_t>(source.width, outWidth)), [&](int begin, int end) {
    std::vector<int32_t> carried(static_cast<size_t>(source.width) * kChannels);
    for (int y = begin; y < end; ++y) {
      if (!rowNeeded[y]) continue;
      carryRow(rowOf(source, y), source.width, weighted, carried.data());
      uint16_t* out = intermediate.data() + static_cast<size_t>(y) * outWidth * kChannels;
      for (int64_t x = 0; x < outWidth; ++x, out += kChannels) {
        int32_t sum[kChannels] = {};
        for (int32_t k = columns.start[x]; k < columns.start[x + 1]; ++k) {
          const int32_t* v = carried.data() + static_cast<size_t>(columns.index[k]) * kChannels;
          const int32_t w = columns.weight[k];
          for (int c = 0; c < kChannels; ++c) sum[c] += w * v[c];
        }
        for (int c = 0; c < kChannels; ++c) out[c] = static_cast<uint16_t>(roundWeighted(sum[c]));
      }
    }
  });

  forEachRowBand(target.height, minRowsPerBand(outWidth), [&](int begin, int end) {
    std::vector<int32_t> sums(static_cast<size_t>(outWidth) * kChannels);
    int32_t v[kChannels];
    for (int y = begin; y < end; ++y) {
      std::fill(sums.begin(), sums.end(), 0);
      for (int32_t k = rows.start[y]; k < rows.start[y + 1]; ++k) {
        const uint16_t* in = intermediate.data() + static_cast<size_t>(rows.index[k]) * outWidth * kChannels;
        const int32_t w = rows.weight[k];
        for (size_t i = 0; i < sums.size(); ++i) sums[i] += w * in[i];
      }
      uint32_t* out = rowOf(target, y);
      for (int64_t x = 0; x < outWidth; ++x) {
        for (int c = 0; c < kChannels; ++c) v[c] = roundWeighted(sums[static_cast<size_t>(x) * kChannels + c]);
        out[x] = finishPixel(v, weighted);
      }
    }
  });
}

}  // namespace vellum
