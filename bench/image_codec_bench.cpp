// Decoding throughput of the picture codecs at 1280x720 and 1920x1080, in megapixels per second.
// PNG and JPEG are measured beside a bare libpng / libjpeg-turbo decode of the very same file into
// a plain BGRA buffer with the same settings, so the difference is what the engine's loader adds
// (detection, the Image record, the metadata and alpha look-ups, the error hooks).
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "image/image.h"
#include "png_memory_input.h"
#include "image/image_io.h"
#include "image/jpeg_library.h"

namespace {

using namespace vellum;
using Bytes = std::vector<uint8_t>;

// Smooth shapes with grain on every pixel (a photographic background, about 6 bits per pixel
// in TLG6), or with sparse grain (closer to drawn artwork, about 2 bits per pixel).
Image* scene(int width, int height, bool alpha, bool sparseGrain = false) {
  Image* image = createImage(width, height, alpha ? 32 : 24);
  std::mt19937 rng(42);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = x / static_cast<double>(width), v = y / static_cast<double>(height);
      const int grain = sparseGrain ? (rng() % 8 == 0 ? static_cast<int>(rng() % 3) - 1 : 0) : static_cast<int>(rng() % 7) - 3;
      auto channel = [&](double value) { return static_cast<uint32_t>(std::clamp(value * 255.0 + grain, 0.0, 255.0)); };
      const uint32_t b = channel(0.5 + 0.4 * std::sin(9 * u + 3 * v));
      const uint32_t g = channel(0.5 + 0.3 * std::cos(7 * v - 2 * u) * u);
      const uint32_t r = channel(0.3 + 0.6 * v * v);
      const uint32_t a = alpha ? (((x / 40 + y / 40) % 3) ? 255u : channel(u)) : 255u;
      image->pixels[static_cast<size_t>(y) * width + x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  return image;
}

enum class Kind { Tlg5, Tlg6, Tlg6Alpha, Tlg6Drawn, Png, Jpeg };

const Bytes& file(Kind kind, int width, int height) {
  static std::map<std::tuple<Kind, int, int>, Bytes> cache;
  Bytes& bytes = cache[{kind, width, height}];
  if (!bytes.empty()) return bytes;
  Image* image = scene(width, height, kind == Kind::Tlg6Alpha, kind == Kind::Tlg6Drawn);
  SaveRequest request;
  switch (kind) {
    case Kind::Tlg5: request = {SaveFormat::Tlg, 24, 0, 0}; break;
    case Kind::Tlg6: request = {SaveFormat::Tlg, 24, 1, 0}; break;
    case Kind::Tlg6Alpha: request = {SaveFormat::Tlg, 32, 1, 0}; break;
    case Kind::Tlg6Drawn: request = {SaveFormat::Tlg, 24, 1, 0}; break;
    case Kind::Png: request = {SaveFormat::Png, 24, 6, 0}; break;
    case Kind::Jpeg: request = {SaveFormat::Jpeg, 24, 90, 0}; break;
  }
  encodeImage(image, request, "bench", bytes);
  freeImage(image);
  return bytes;
}

void report(benchmark::State& state, int width, int height, size_t fileSize) {
  const double pixels = static_cast<double>(width) * height;
  state.counters["MPix/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["file_kB"] = static_cast<double>(fileSize) / 1024.0;
}

void engineDecode(benchmark::State& state, Kind kind) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const Bytes& bytes = file(kind, width, height);
  for (auto _ : state) {
    Image* image = loadImage(bytes.data(), bytes.size());
    if (!image) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image);
    freeImage(image);
  }
  report(state, width, height, bytes.size());
}

void BM_Tlg5(benchmark::State& state) { engineDecode(state, Kind::Tlg5); }
void BM_Tlg6(benchmark::State& state) { engineDecode(state, Kind::Tlg6); }
void BM_Tlg6Alpha(benchmark::State& state) { engineDecode(state, Kind::Tlg6Alpha); }
void BM_Tlg6Drawn(benchmark::State& state) { engineDecode(state, Kind::Tlg6Drawn); }
void BM_Png(benchmark::State& state) { engineDecode(state, Kind::Png); }
void BM_Jpeg(benchmark::State& state) { engineDecode(state, Kind::Jpeg); }

// ---- bare library decodes of the same files ----------------------------------------------------

bool barePng(const Bytes& bytes, Bytes& pixels, std::vector<png_bytep>& rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bench::PngMemoryInput input{&bytes, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &input, bench::readPngMemory);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_palette_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  pixels.resize(size_t{width} * height * 4);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + size_t{y} * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, info);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

struct BareJpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void bareJpegExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<BareJpegErrors*>(cinfo->err)->jump, 1); }

bool bareJpeg(const Bytes& bytes, Bytes& pixels, std::vector<JSAMPROW>& rows, J_DCT_METHOD method) {
  jpeg_decompress_struct cinfo;
  BareJpegErrors errors;
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = bareJpegExit;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGRA;
  cinfo.dct_method = method;
  jpeg_start_decompress(&cinfo);
  pixels.resize(size_t{cinfo.output_width} * cinfo.output_height * 4);
  rows.resize(cinfo.output_height);
  for (JDIMENSION y = 0; y < cinfo.output_height; ++y) rows[y] = pixels.data() + size_t{y} * cinfo.output_width * 4;
  while (cinfo.output_scanline < cinfo.output_height) {
    jpeg_read_scanlines(&cinfo, rows.data() + cinfo.output_scanline, cinfo.output_height - cinfo.output_scanline);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

void BM_BarePng(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const Bytes& bytes = file(Kind::Png, width, height);
  Bytes pixels;
  std::vector<png_bytep> rows;
  for (auto _ : state) {
    if (!barePng(bytes, pixels, rows)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(pixels.data());
  }
  report(state, width, height, bytes.size());
}

void bareJpegBenchmark(benchmark::State& state, J_DCT_METHOD method) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const Bytes& bytes = file(Kind::Jpeg, width, height);
  Bytes pixels;
  std::vector<JSAMPROW> rows;
  for (auto _ : state) {
    if (!bareJpeg(bytes, pixels, rows, method)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(pixels.data());
  }
  report(state, width, height, bytes.size());
}

// The engine decodes with the floating-point DCT; the library's default (integer) DCT for reference.
void BM_BareJpegFloat(benchmark::State& state) { bareJpegBenchmark(state, JDCT_FLOAT); }
void BM_BareJpegDefault(benchmark::State& state) { bareJpegBenchmark(state, JDCT_ISLOW); }

#define PICTURE_SIZES ->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond)

BENCHMARK(BM_Tlg5) PICTURE_SIZES;
BENCHMARK(BM_Tlg6) PICTURE_SIZES;
BENCHMARK(BM_Tlg6Alpha) PICTURE_SIZES;
BENCHMARK(BM_Tlg6Drawn) PICTURE_SIZES;
BENCHMARK(BM_Png) PICTURE_SIZES;
BENCHMARK(BM_BarePng) PICTURE_SIZES;
BENCHMARK(BM_Jpeg) PICTURE_SIZES;
BENCHMARK(BM_BareJpegFloat) PICTURE_SIZES;
BENCHMARK(BM_BareJpegDefault) PICTURE_SIZES;

}  // namespace
