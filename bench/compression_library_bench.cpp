// The libraries beside each other on the engine's own kinds of data, to choose between them:
// zlib's uncompress and compress2 against libdeflate (which the engine now inflates whole buffers
// with) on an archive entry of script-like text and on a save's text; and libpng, with the
// engine's settings, against libspng on 1280x720 and 1920x1080 pictures. Read each pair as a
// ratio within one run.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <png.h>
#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/image.h"
#include "png_memory_input.h"
#include "image/image_io.h"
#include "storage/zlib_buffer.h"

namespace {

using namespace vellum;
using Bytes = std::vector<uint8_t>;

// About 4 MB of script-like text (an archive entry) or 200 kB of save-like lines.
Bytes text(bool save) {
  static const char* const script[] = {"the", "quiet", "harbour", "lantern", "she", "said", "\xA1\xA2", "and",
                                       "morning", "tide", "%count", "goto", "*label", "\n", "sp", "1,"};
  std::mt19937 rng(7);
  Bytes data;
  const size_t size = save ? 200u << 10 : 4u << 20;
  while (data.size() < size) {
    std::string w;
    if (save) {
      const unsigned n = rng() % 1000;
      w = "sprite " + std::to_string(n) + " file=p" + std::to_string(n % 37) + ".png x=" + std::to_string(rng() % 1280) +
          " y=" + std::to_string(rng() % 720) + " alpha=" + std::to_string(rng() % 256) + "\n";
    } else {
      w = std::string(script[rng() % std::size(script)]) + ' ';
    }
    data.insert(data.end(), w.begin(), w.end());
  }
  return data;
}

struct Stream {
  Bytes data, deflated;
};

const Stream& stream(bool save) {
  static Stream s[2];
  Stream& out = s[save ? 1 : 0];
  if (!out.deflated.empty()) return out;
  out.data = text(save);
  uLongf size = compressBound(out.data.size());
  out.deflated.resize(size);
  compress2(out.deflated.data(), &size, out.data.data(), out.data.size(), 9);
  out.deflated.resize(size);
  return out;
}

void bytesCounter(benchmark::State& state, const Stream& s) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.data.size()));
}

void BM_ZlibUncompress(benchmark::State& state) {
  const Stream& s = stream(state.range(0) != 0);
  Bytes out(s.data.size());
  for (auto _ : state) {
    uLongf size = out.size();
    if (uncompress(out.data(), &size, s.deflated.data(), s.deflated.size()) != Z_OK) state.SkipWithError("inflate");
    benchmark::DoNotOptimize(out.data());
  }
  bytesCounter(state, s);
}

void BM_LibdeflateInflate(benchmark::State& state) {
  const Stream& s = stream(state.range(0) != 0);
  Bytes out(s.data.size());
  for (auto _ : state) {
    size_t size = 0;
    if (inflateZlib(s.deflated.data(), s.deflated.size(), out.data(), out.size(), size) != InflateStatus::Ok ||
        size != s.data.size() || std::memcmp(out.data(), s.data.data(), size) != 0)
      state.SkipWithError("inflate");
    benchmark::DoNotOptimize(out.data());
  }
  bytesCounter(state, s);
}

void BM_ZlibCompress2(benchmark::State& state) {
  const Stream& s = stream(state.range(0) != 0);
  Bytes out(compressBound(s.data.size()));
  uLongf size = 0;
  for (auto _ : state) {
    size = out.size();
    if (compress2(out.data(), &size, s.data.data(), s.data.size(), 9) != Z_OK) state.SkipWithError("deflate");
    benchmark::DoNotOptimize(out.data());
  }
  bytesCounter(state, s);
  state.counters["out_kB"] = static_cast<double>(size) / 1024.0;
}

// Level 9 as the engine's writers use with zlib; its streams differ from zlib's in their bytes.
void BM_LibdeflateDeflate(benchmark::State& state) {
  const Stream& s = stream(state.range(0) != 0);
  libdeflate_compressor* c = libdeflate_alloc_compressor(static_cast<int>(state.range(1)));
  Bytes out(libdeflate_zlib_compress_bound(c, s.data.size()));
  size_t size = 0;
  for (auto _ : state) {
    size = libdeflate_zlib_compress(c, s.data.data(), s.data.size(), out.data(), out.size());
    if (size == 0) state.SkipWithError("deflate");
    benchmark::DoNotOptimize(out.data());
  }
  libdeflate_free_compressor(c);
  bytesCounter(state, s);
  state.counters["out_kB"] = static_cast<double>(size) / 1024.0;
}

// Argument 0: the 4 MB archive entry; 1: the save's text.
BENCHMARK(BM_ZlibUncompress)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibdeflateInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ZlibCompress2)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibdeflateDeflate)->Args({0, 9})->Args({1, 9})->Args({0, 12})->Args({1, 12})->Unit(benchmark::kMicrosecond);

// ---- PNG -------------------------------------------------------------------------------------

const Bytes& picture(int width, int height) {
  static std::vector<std::pair<int, Bytes>> cache;
  for (auto& [w, bytes] : cache)
    if (w == width) return bytes;
  Image* image = createImage(width, height, 32);
  std::mt19937 rng(42);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double u = x / static_cast<double>(width), v = y / static_cast<double>(height);
      const int grain = static_cast<int>(rng() % 7) - 3;
      auto c = [&](double value) { return static_cast<uint32_t>(std::clamp(value * 255.0 + grain, 0.0, 255.0)); };
      image->pixels[static_cast<size_t>(y) * width + x] =
          (((x / 40 + y / 40) % 3) ? 255u : c(u)) << 24 | c(0.3 + 0.6 * v * v) << 16 |
          c(0.5 + 0.3 * std::cos(7 * v - 2 * u) * u) << 8 | c(0.5 + 0.4 * std::sin(9 * u + 3 * v));
    }
  cache.emplace_back(width, Bytes());
  encodeImage(image, {SaveFormat::Png, 32, 6, 0}, "bench", cache.back().second);
  freeImage(image);
  return cache.back().second;
}

// libpng with the transforms the engine's reader sets.
bool libpngDecode(const Bytes& bytes, Bytes& pixels, std::vector<png_bytep>& rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bench::PngMemoryInput input{&bytes, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &input, bench::readPngMemory);
  png_read_info(png, info);
  png_set_scale_16(png);
  png_set_palette_to_rgb(png);
  png_set_tRNS_to_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
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

bool spngDecode(const Bytes& bytes, Bytes& pixels) {
  spng_ctx* ctx = spng_ctx_new(0);
  if (!ctx) return false;
  size_t size = 0;
  bool ok = spng_set_png_buffer(ctx, bytes.data(), bytes.size()) == 0 &&
            spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size) == 0;
  if (ok) {
    pixels.resize(size);
    ok = spng_decode_image(ctx, pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) == 0;
  }
  spng_ctx_free(ctx);
  return ok;
}

void BM_LibpngDecode(benchmark::State& state) {
  const Bytes& bytes = picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  Bytes pixels;
  std::vector<png_bytep> rows;
  for (auto _ : state) {
    if (!libpngDecode(bytes, pixels, rows)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(pixels.data());
  }
}

void BM_SpngDecode(benchmark::State& state) {
  const Bytes& bytes = picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  Bytes pixels, reference;
  std::vector<png_bytep> rows;
  if (!libpngDecode(bytes, reference, rows)) return state.SkipWithError("libpng failed");
  for (auto _ : state) {
    if (!spngDecode(bytes, pixels)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["same_pixels"] = pixels == reference ? 1 : 0;
}

BENCHMARK(BM_LibpngDecode)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpngDecode)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
