// The image operations on a 1280 x 720 picture, in nanoseconds per source pixel, on one and two
// worker threads. A plain memcpy of the same pixels runs in the same program as the yardstick:
// an operation's figure divided by memcpy's says how many picture copies it costs. Times are wall
// clock; the CPU column adds up every thread of the process.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "image/image.h"
#include "image/ops/image_ops.h"

namespace {

using namespace vellum;

constexpr int kWidth = 1280, kHeight = 720;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

Image* randomPicture(int width, int height, int bitsPerPixel, uint32_t seed) {
  Image* image = createImage(width, height, bitsPerPixel);
  std::mt19937 random(seed);
  for (int32_t i = 0; i < image->pixelCount; ++i) {
    const uint32_t v = static_cast<uint32_t>(random());
    image->pixels[i] = bitsPerPixel == 32 ? v : (v | 0xFF000000u);
  }
  return image;
}

// Reports seconds per source pixel (shown with an SI prefix: "12n" is 12 ns) and restores the
// default worker count.
void perPixel(benchmark::State& state) {
  state.counters["per_pixel"] = benchmark::Counter(static_cast<double>(kPixels) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  setImageWorkerCount(0);
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<uint32_t> from(kPixels, 0x12345678u), to(kPixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kPixels * 4);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  perPixel(state);
}
BENCHMARK(BM_Memcpy)->MeasureProcessCPUTime()->UseRealTime();

// Normal alpha blending of a picture with random (mostly partial) alpha over another.
void BM_BlendImage(benchmark::State& state) {
  setImageWorkerCount(static_cast<int>(state.range(0)));
  const int mode = static_cast<int>(state.range(1));
  Image* base = randomPicture(kWidth, kHeight, 32, 1);
  Image* layer = randomPicture(kWidth, kHeight, 32, 2);
  for (auto _ : state) {
    blendImage(&base, layer, mode, 0, 0, 256, 0);
    benchmark::DoNotOptimize(base->pixels);
  }
  perPixel(state);
  freeImage(base);
  freeImage(layer);
}
BENCHMARK(BM_BlendImage)->ArgsProduct({{1, 2}, {1, 6}})->ArgNames({"threads", "mode"})->MeasureProcessCPUTime()->UseRealTime();

// Enlarging to 1920 x 1080 (bilinear) and shrinking to 640 x 360 (area average), into a reused output.
void BM_ResizeImage(benchmark::State& state) {
  setImageWorkerCount(static_cast<int>(state.range(0)));
  const bool enlarge = state.range(1) != 0;
  Image* source = randomPicture(kWidth, kHeight, 32, 3);
  Image* out = nullptr;
  for (auto _ : state) {
    resizeImage(&out, source, enlarge ? 1920 : 640, enlarge ? 1080 : 360, 1, 1, 1);
    benchmark::DoNotOptimize(out->pixels);
  }
  perPixel(state);
  freeImage(source);
  freeImage(out);
}
BENCHMARK(BM_ResizeImage)->ArgsProduct({{1, 2}, {1, 0}})->ArgNames({"threads", "enlarge"})->MeasureProcessCPUTime()->UseRealTime();

// A 9 x 9 box blur of an opaque (24-bit) and of an alpha-weighted (32-bit) picture.
void BM_BlurImage(benchmark::State& state) {
  setImageWorkerCount(static_cast<int>(state.range(0)));
  Image* picture = randomPicture(kWidth, kHeight, static_cast<int>(state.range(1)), 4);
  for (auto _ : state) {
    blurImage(picture, 4, 4);
    benchmark::DoNotOptimize(picture->pixels);
  }
  perPixel(state);
  freeImage(picture);
}
BENCHMARK(BM_BlurImage)->ArgsProduct({{1, 2}, {24, 32}})->ArgNames({"threads", "bits"})->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
