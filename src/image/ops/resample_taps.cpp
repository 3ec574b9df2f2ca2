#include "image/ops/resample_taps.h"

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

// Appends one target position's taps, turning real weights into fixed point that sums to one.
// Each weight is the step between rounded running totals, so the rounding never piles up on one
// tap: that matters when thousands of taps share the 1 << 14 of a large shrink.
void addPosition(AxisTaps& taps, const std::vector<int32_t>& index, const std::vector<double>& weight) {
  double total = 0;
  for (double w : weight) total += w;
  double running = 0;
  int64_t placed = 0;
  for (size_t k = 0; k < index.size(); ++k) {
    running += weight[k];
    const int64_t upTo = k + 1 == index.size() ? kWeightOne : std::llround(running / total * kWeightOne);
    taps.index.push_back(index[k]);
    taps.weight.push_back(static_cast<int32_t>(upTo - placed));
    placed = upTo;
  }
  taps.start.push_back(static_cast<int32_t>(taps.weight.size()));
}

// Catmull-Rom (a = -0.5) kernel.
double cubic(double x) {
  x = std::fabs(x);
  if (x < 1) return (1.5 * x - 2.5) * x * x + 1;
  if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
  return 0;
}

}  // namespace

AxisTaps makeAxisTaps(Resampler kind, int sourceSize, int targetSize) {
  AxisTaps taps;
  taps.start.reserve(static_cast<size_t>(targetSize) + 1);
  taps.start.push_back(0);
  std::vector<int32_t> index;
  std::vector<double> weight;
  const double scale = static_cast<double>(sourceSize) / targetSize;
  const int64_t s = sourceSize, t = targetSize;
  for (int64_t i = 0; i < t; ++i) {
    index.clear();
    weight.clear();
    switch (kind) {
      case Resampler::Nearest:
        index.push_back(static_cast<int32_t>((2 * i + 1) * s / (2 * t)));
        weight.push_back(1);
        break;
      case Resampler::AreaAverage: {
        // In units of 1/t source pixels the target covers [i s, (i + 1) s) and source j covers
        // [j t, (j + 1) t): integer overlaps, so the weights are exact.
        const int64_t from = i * s, to = (i + 1) * s;
        for (int64_t j = from / t; j * t < to; ++j) {
          const int64_t overlap = std::min(to, (j + 1) * t) - std::max(from, j * t);
          if (overlap <= 0) continue;
          index.push_back(static_cast<int32_t>(j));
          weight.push_back(static_cast<double>(overlap));
        }
        break;
      }
      case Resampler::Bilinear: {
        const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, static_cast<double>(s - 1));
        const int64_t j = static_cast<int64_t>(centre);
        const double frac = centre - j;
        index.push_back(static_cast<int32_t>(j));
        weight.push_back(1 - frac);
        if (frac > 0 && j + 1 < s) {
          index.push_back(static_cast<int32_t>(j + 1));
          weight.push_back(frac);
        }
        break;
      }
      case Resampler::Bicubic: {
        const double centre = (i + 0.5) * scale - 0.5;
        const int64_t j = static_cast<int64_t>(std::floor(centre));
        for (int64_t k = j - 1; k <= j + 2; ++k) {
          const double w = cubic(centre - k);
          if (w == 0) continue;
          // Outside the picture the edge pixel stands in; merge it with the edge's own tap.
          const auto clamped = static_cast<int32_t>(std::clamp<int64_t>(k, 0, s - 1));
          if (!index.empty() && index.back() == clamped) {
            weight.back() += w;
          } else {
            index.push_back(clamped);
            weight.push_back(w);
          }
        }
        break;
      }
    }
    addPosition(taps, index, weight);
  }
  return taps;
}

}  // namespace vellum
