#include "image/ops/separable_resampler.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"
#include "image/ops/rounded_division.h"
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
  const RoundedDivision byAlpha(static_cast<uint32_t>(alpha255));
  auto channel = [&byAlpha](int32_t c) { return std::min(255u, byAlpha.of(static_cast<uint32_t>(c) * 255)); };
  const auto alpha = static_cast<uint32_t>((alpha255 + 127) / 255);
  return pixel::make(alpha, channel(v[2]), channel(v[1]), channel(v[0]));
}

// One worker's share of the target rows, in chunks of a few rows: each source row the chunk
// reads is resampled along the row once and added, with its weight, into the sums of every chunk
// row that reads it. Memory stays a few rows however far the picture shrinks; a source row shared
// by two chunks is resampled twice. Integer sums make the order of the additions irrelevant.
class ChunkResampler {
 public:
  ChunkResampler(const Image& source, Image& target, const AxisTaps& columns, const AxisTaps& rows)
      : source_(source), target_(target), columns_(columns), rows_(rows), weighted_(source.bitsPerPixel == 32),
        carried_(static_cast<size_t>(source.width) * kChannels), line_(rowValues()),
        sums_(rowValues() * kChunkRows) {}

  void rows(int begin, int end) {
    for (int y = begin; y < end; y += kChunkRows) chunk(y, std::min(end, y + kChunkRows));
  }

 private:
  static constexpr int kChunkRows = 32;

  size_t rowValues() const { return static_cast<size_t>(target_.width) * kChannels; }

  void chunk(int begin, int end) {
    const int count = end - begin;
    int32_t first = rows_.index[rows_.start[begin]], last = first;
    int32_t cursor[kChunkRows];
    for (int j = 0; j < count; ++j) {
      cursor[j] = rows_.start[begin + j];
      for (int32_t k = rows_.start[begin + j]; k < rows_.start[begin + j + 1]; ++k) {
        first = std::min(first, rows_.index[k]);
        last = std::max(last, rows_.index[k]);
      }
    }
    std::fill(sums_.begin(), sums_.begin() + static_cast<std::ptrdiff_t>(rowValues() * count), 0);
    // Each row's taps come in ascending source order, so one cursor per row walks them.
    for (int32_t r = first; r <= last; ++r) {
      bool read = false;
      for (int j = 0; j < count && !read; ++j) read = cursor[j] < rows_.start[begin + j + 1] && rows_.index[cursor[j]] == r;
      if (!read) continue;
      resampleAlongRow(r);
      for (int j = 0; j < count; ++j) {
        for (; cursor[j] < rows_.start[begin + j + 1] && rows_.index[cursor[j]] == r; ++cursor[j]) {
          addWeighted(sums_.data() + rowValues() * j, rows_.weight[cursor[j]]);
        }
      }
    }
    for (int j = 0; j < count; ++j) finishRow(begin + j, sums_.data() + rowValues() * j);
  }

  void resampleAlongRow(int32_t y) {
    carryRow(rowOf(source_, y), source_.width, weighted_, carried_.data());
    uint16_t* out = line_.data();
    for (int x = 0; x < target_.width; ++x, out += kChannels) {
      int32_t sum[kChannels] = {};
      for (int32_t k = columns_.start[x]; k < columns_.start[x + 1]; ++k) {
        const int32_t* v = carried_.data() + static_cast<size_t>(columns_.index[k]) * kChannels;
        const int32_t w = columns_.weight[k];
        for (int c = 0; c < kChannels; ++c) sum[c] += w * v[c];
      }
      for (int c = 0; c < kChannels; ++c) out[c] = static_cast<uint16_t>(roundWeighted(sum[c]));
    }
  }

  void addWeighted(int32_t* sums, int32_t weight) const {
    const uint16_t* in = line_.data();
    const size_t n = rowValues();
    for (size_t i = 0; i < n; ++i) sums[i] += weight * in[i];
  }

  void finishRow(int y, const int32_t* sums) const {
    uint32_t* out = rowOf(target_, y);
    int32_t v[kChannels];
    for (int x = 0; x < target_.width; ++x, sums += kChannels) {
      for (int c = 0; c < kChannels; ++c) v[c] = roundWeighted(sums[c]);
      out[x] = finishPixel(v, weighted_);
    }
  }

  const Image& source_;
  Image& target_;
  const AxisTaps& columns_;
  const AxisTaps& rows_;
  const bool weighted_;
  std::vector<int32_t> carried_;
  std::vector<uint16_t> line_;
  std::vector<int32_t> sums_;
};

}  // namespace

void resamplePicture(const Image& source, Image& target, Resampler kind) {
  const AxisTaps columns = makeAxisTaps(kind, source.width, target.width);
  const AxisTaps rows = makeAxisTaps(kind, source.height, target.height);
  forEachRowBand(target.height, minRowsPerBand(target.width), [&](int begin, int end) {
    ChunkResampler(source, target, columns, rows).rows(begin, end);
  });
}

}  // namespace vellum
