// What the demo's pages cost when they are kept for rolling back: the demo (packed as run-demo.sh
// packs it) plays its own playthrough headless, in this process, once; every page it shows takes a
// snapshot. The counters give the pages seen and how many of them had no page before them to share
// with (the first, the first after the load), and for the others the mean bytes of a page's whole
// save block (the baseline: a snapshot that shares nothing), the mean bytes a snapshot added, and the
// share of the block it shared with the page before. The run takes as long as the playthrough (about 50 s).
// Run from a folder outside the checkout.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "engine/rollback.h"
#include "engine/startup.h"
#include "shell/input/input_replay.h"
#include "shell/shell_lifecycle.h"

namespace {

using namespace vellum;

void BM_DemoPlaythroughPages(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "vellum_rollback_demo_bench";
  const fs::path game = folder / "game";
  fs::create_directories(folder);
  const std::string pack = "bash " + std::string(VELLUM_SOURCE_DIR) + "/scripts/pack-demo.sh " + VELLUM_BINARY_DIR +
                           " " + game.string() + " >/dev/null 2>&1";
  if (std::system(pack.c_str()) != 0) return state.SkipWithError("the demo could not be packed");
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  setReportSink(silentReportSink());
  const fs::path here = fs::current_path();
  RollbackStats stats;
  for (auto _ : state) {
    engine().exeDirectory = game.string() + "/";
    engine().headless = true;
    std::string error;
    if (chdir(game.c_str()) != 0 ||
        !loadInputReplay(std::string(VELLUM_SOURCE_DIR) + "/examples/demo/playthrough.txt", error))
      return state.SkipWithError(("the playthrough cannot start: " + error).c_str());
    runMain();
    closeShell();
    stats = rollbackStats();
  }
  fs::current_path(here);
  state.counters["pages"] = static_cast<double>(stats.pages);
  state.counters["first_pages"] = static_cast<double>(stats.firstPages);
  const double pages = static_cast<double>(stats.pages - stats.firstPages);
  if (pages == 0) return;
  state.counters["block_bytes"] = static_cast<double>(stats.blockBytes) / pages;
  state.counters["stored_bytes"] = static_cast<double>(stats.storedBytes) / pages;
  state.counters["shared_share"] = 1.0 - static_cast<double>(stats.storedBytes) / static_cast<double>(stats.blockBytes);
}
BENCHMARK(BM_DemoPlaythroughPages)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
