// The look-ahead pass over 20 full-HD TLG6 pictures with one and with two workers, against the
// baseline of decoding the same files one after another on one thread (what a scene change costs
// without the pass). The figure to read is the ratio of each pass to the baseline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "image/image_io.h"
#include "persist/engine_settings.h"
#include "scene/lookahead.h"
#include "scene/picture_cache.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"

namespace {

using namespace vellum;
constexpr int kPictures = 20;

// A game folder of 20 photographic 1920x1080 TLG6 backgrounds and a script naming them.
const std::filesystem::path& gameFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vellum_lookahead_bench";
    std::filesystem::create_directories(dir / "bg");
    std::mt19937 rng(7);
    for (int i = 0; i < kPictures; ++i) {
      const std::filesystem::path file = dir / "bg" / ("p" + std::to_string(i) + ".tlg");
      if (std::filesystem::exists(file)) continue;
      Image* image = createImage(1920, 1080, 24);
      for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) {
          const auto c = [&](double v) { return static_cast<uint32_t>(std::fmod(std::fabs(v), 1.0) * 250 + rng() % 5); };
          image->pixels[y * 1920 + x] =
              0xFF000000u | c(0.3 + x * 0.0007 + i * 0.05) << 16 | c(std::sin(y * 0.004 + i)) << 8 | c(x * y * 1e-6);
        }
      SaveRequest request{SaveFormat::Tlg, 24, 1, 0};
      saveImage(file.string(), image, request);
      freeImage(image);
    }
    return dir;
  }();
  return folder;
}

void setUpGame() {
  setReportSink(silentReportSink());
  engine().exeDirectory = gameFolder().string() + "/";
  settings().cacheMaxSize = int64_t{1} << 30;
  settings().lookAhead = 1;
  std::string lines = "x\n";
  for (int i = 0; i < kPictures; ++i) lines += "bg \"p" + std::to_string(i) + "\"\n";
  ScriptState& s = scriptState();
  s.slots[0].lines.clear();
  parseScript(lines, s.slots[0].lines);
  s.cursor.slot = 0;
  s.cursor.line = 0;
  registerLookaheadPattern("bg", "bg/%s.tlg", 0);
}

void BM_DecodeInARow(benchmark::State& state) {
  setUpGame();
  uint8_t* buffer = nullptr;
  uint32_t capacity = 0;
  for (auto _ : state) {
    for (int i = 0; i < kPictures; ++i) {
      uint32_t size = 0;
      loadFile("bg/p" + std::to_string(i) + ".tlg", buffer, size, capacity);
      Image* image = loadImage(buffer, size);
      benchmark::DoNotOptimize(image);
      freeImage(image);
    }
  }
  freeAligned(buffer);
}
BENCHMARK(BM_DecodeInARow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LookaheadPass(benchmark::State& state) {
  setUpGame();
  for (auto _ : state) {
    clearPictureCache();
    runLookaheadPass(static_cast<unsigned>(state.range(0)));
  }
  state.counters["cached"] = static_cast<double>(pictureCacheFigures().pictures);
  clearPictureCache();
}
BENCHMARK(BM_LookaheadPass)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
