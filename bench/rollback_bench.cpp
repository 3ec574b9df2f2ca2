// What a page kept for rolling back costs in a full scene (1000 sprites, 200 backlog pages with their
// picture logs, 200 g_ variables): each page moves some sprites, writes its text into the backlog and
// changes a variable, then its snapshot is taken. The counters give the bytes of the page's whole
// save block (the baseline: a snapshot that shares nothing), the bytes the snapshot added, the share
// of the block it shared with the page before, and what 50 kept pages hold. Argument: the sprites a
// page moves (1000: every sprite, as in a scene where all of them animate).
// Read the figures as ratios within one run. Run from a folder outside the checkout.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "headless_gl_window.h"
#include "sprite_scene.h"
#include "engine/rollback.h"
#include "image/image.h"
#include "image/image_io.h"
#include "scene/sprite_commit.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "script/variables.h"
#include "text/backlog.h"

namespace {

using namespace vellum;

constexpr int kW = 1280, kH = 720;
constexpr int kKeptPages = 50;

struct Scene {
  bool ready = false;

  Scene() {
    SDL_Window* window = bench::openHeadlessGlWindow(kW, kH);
    if (!window || !bench::startHeadlessRenderer(window, kW, kH)) return;
    if (!bench::fillSpriteScene(kSpriteCount)) return;
    BacklogState& log = backlog();
    for (int j = 0; j < kBacklogEntries; ++j) writePage(j);
    log.index = 0;
    log.count = kBacklogEntries;
    for (int v = 0; v < 200; ++v) variables().namedInts["g_flag" + std::to_string(v)] = v;
    ready = true;
  }

  static void writePage(int page) {
    BacklogEntry& e = backlog().entries[static_cast<size_t>(page % kBacklogEntries)];
    std::snprintf(e.text, sizeof e.text, "Page %d: the harbour bell rang seven times, and the fog, slowly, lifted "
                  "from the water while she waited.", page);
    std::memcpy(e.tag, "Eileen", 7);
    for (int r = 0; r < kImageLogRecords; ++r) {
      ImageLogRecord& rec = e.imageLog[static_cast<size_t>(r)];
      std::snprintf(rec.sourceName, sizeof rec.sourceName, "bg%02d.png", r);
      rec.x = static_cast<int16_t>(r * 10 + page % 7);
      rec.scaleX = rec.scaleY = 100;
      rec.alpha = 255;
    }
    e.rows = 3;
  }

  // The next page: its sprites moved, a variable changed, the page before committed to the backlog.
  static void nextPage(int page, int moved) {
    for (int k = 0; k < moved; ++k) {
      const int n = (page * moved + k) % kSpriteCount;
      sprite(n).backImage().props.x += 1;
      sprite(n).pending |= pending::kProperties;
    }
    commitAllSprites();
    variables().namedInts["g_flag" + std::to_string(page % 200)] += 1;
    BacklogState& log = backlog();
    writePage(log.index);
    log.index = (log.index + 1) % kBacklogEntries;
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

void BM_PageSnapshot(benchmark::State& state) {
  if (!scene().ready) return state.SkipWithError("no scene (GL context)");
  const int moved = static_cast<int>(state.range(0));
  setRollbackDepth(0);
  setRollbackDepth(kKeptPages);
  takePageSnapshot();  // the first page shares nothing; the figures are for the pages after it
  const RollbackStats before = rollbackStats();
  int page = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Scene::nextPage(++page, moved);
    state.ResumeTiming();
    takePageSnapshot();
  }
  const RollbackStats after = rollbackStats();
  const double pages = static_cast<double>(after.pages - before.pages);
  const double block = static_cast<double>(after.blockBytes - before.blockBytes) / pages;
  const double stored = static_cast<double>(after.storedBytes - before.storedBytes) / pages;
  state.counters["block_bytes"] = block;
  state.counters["stored_bytes"] = stored;
  state.counters["shared_share"] = 1.0 - stored / block;
  state.counters["held_bytes_50_pages"] = static_cast<double>(after.heldBytes);
  setRollbackDepth(0);
}
BENCHMARK(BM_PageSnapshot)->Arg(5)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
