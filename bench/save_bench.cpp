// Save slots of a full scene (1000 sprites, 200 backlog pages with their picture logs, variables):
// saveSave (compose every line, compress, write beside the old file and rename) beside a bare zlib
// compress2 of the same text, and loadSave (read, inflate, parse and check every line, reset the
// scene, reload 1000 sprites from the picture cache) beside a bare uncompress of the same file;
// and loadSave of the scene without its sprites, for the text's own share.
// Read the figures as ratios within one run. Run from a folder outside the checkout.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "headless_gl_window.h"
#include "sprite_scene.h"
#include "engine/save_commands.h"
#include "image/image.h"
#include "image/image_io.h"
#include "persist/persist_state.h"
#include "persist/save_slots.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "script/variables.h"
#include "text/backlog.h"

namespace {

using namespace vellum;

constexpr int kW = 1280, kH = 720;

struct Scene {
  bool ready = false;
  std::string file;  // the slot file's bytes

  Scene() {
    SDL_Window* window = bench::openHeadlessGlWindow(kW, kH);
    if (!window || !bench::startHeadlessRenderer(window, kW, kH)) return;
    persistState().saveDirectory = engine().exeDirectory + "save/";
    if (!bench::fillSpriteScene(kSpriteCount)) return;
    BacklogState& log = backlog();
    for (int j = 0; j < kBacklogEntries; ++j) {
      BacklogEntry& e = log.entries[static_cast<size_t>(j)];
      const std::string text = "Page " + std::to_string(j) + ": the harbour bell rang seven times, and the fog, slowly, "
                                                             "lifted from the water \x83\x60 while she waited.";
      std::memcpy(e.text, text.data(), text.size());
      std::memcpy(e.tag, "Eileen", 6);
      for (int r = 0; r < kImageLogRecords; ++r) {
        ImageLogRecord& rec = e.imageLog[static_cast<size_t>(r)];
        std::snprintf(rec.sourceName, sizeof rec.sourceName, "bg%02d.png", r);
        rec.x = static_cast<int16_t>(r * 10);
        rec.scaleX = rec.scaleY = 100;
        rec.alpha = 255;
      }
      e.rows = 3;
    }
    log.index = 5;
    log.count = kBacklogEntries;
    for (int v = 0; v < 200; ++v) variables().namedInts["g_flag" + std::to_string(v)] = v;
    makeSave();
    ready = saveSave(0, true);
    std::FILE* f = std::fopen(saveSlotPath(0, true).c_str(), "rb");
    if (!f) return;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) file.append(buffer, got);
    std::fclose(f);
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

void BM_SaveSave(benchmark::State& state) {
  if (!scene().ready) return state.SkipWithError("no scene (GL context)");
  for (auto _ : state) {
    clearSave();
    makeSave();
    if (!saveSave(0, true)) return state.SkipWithError("saveSave failed");
  }
  state.counters["text_bytes"] = static_cast<double>(saveFileText().size());
}
BENCHMARK(BM_SaveSave)->Unit(benchmark::kMillisecond);

void BM_BareCompress2(benchmark::State& state) {
  if (!scene().ready) return state.SkipWithError("no scene (GL context)");
  const std::string text = saveFileText();
  std::string out(compressBound(text.size()), '\0');
  for (auto _ : state) {
    uLongf length = out.size();
    compress2(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(text.data()), text.size(), 9);
    benchmark::DoNotOptimize(length);
  }
}
BENCHMARK(BM_BareCompress2)->Unit(benchmark::kMillisecond);

void BM_LoadSave(benchmark::State& state) {
  if (!scene().ready) return state.SkipWithError("no scene (GL context)");
  for (auto _ : state)
    if (!loadSave(0, true)) return state.SkipWithError("loadSave failed");
}
BENCHMARK(BM_LoadSave)->Unit(benchmark::kMillisecond);

// The same save without sprites: what reading, checking and applying the text costs alone.
void BM_LoadSaveNoSprites(benchmark::State& state) {
  if (!scene().ready) return state.SkipWithError("no scene (GL context)");
  for (int n = 0; n < kSpriteCount; ++n) deleteSpriteNow(n);
  clearSave();
  makeSave();
  if (!saveSave(1, true)) return state.SkipWithError("saveSave failed");
  for (auto _ : state)
    if (!loadSave(1, true)) return state.SkipWithError("loadSave failed");
  loadSave(0, true);
}
BENCHMARK(BM_LoadSaveNoSprites)->Unit(benchmark::kMillisecond);

void BM_BareUncompress(benchmark::State& state) {
  if (!scene().ready) return state.SkipWithError("no scene (GL context)");
  const std::string& file = scene().file;
  uint32_t length = 0;
  std::memcpy(&length, file.data(), 4);
  std::string out(length, '\0');
  for (auto _ : state) {
    uLongf size = out.size();
    uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(file.data() + 4),
               file.size() - 4);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(BM_BareUncompress)->Unit(benchmark::kMillisecond);

}  // namespace
