// The label pass over a large generated script: tokenising every line and collecting labels and
// message blocks. Reported in lines per second.
#include <benchmark/benchmark.h>

#include <string>

#include "base/report.h"
#include "engine/startup.h"
#include "script/label_pass.h"
#include "script/tokenizer.h"

namespace {

// About `bytes` of script in a typical mix: labels, command lines, speaker lines and text blocks.
std::string generateScript(size_t bytes, int& lines) {
  std::string text;
  text.reserve(bytes + 256);
  lines = 0;
  for (int block = 0; text.size() < bytes; ++block) {
    text += "*scene" + std::to_string(block) + "\n";
    text += "sp 1, \"bg/room" + std::to_string(block % 40) + ".png\", 0, 0 : draw ; show the room\n";
    text += "if (%flag" + std::to_string(block % 7) + " == 1) goto *scene" + std::to_string(block / 2) + "\n";
    text += "\xa1\xbe\xb0\xac\xc1\xd5\xa1\xbf\xd4\xe7\xc9\xcf\xba\xc3\xa3\xac\xc2\xc3\xd0\xd0\xd5\xdf\xa1\xa3\n";
    text += "\xc7\xe5\xb3\xbf\xb5\xc4\xce\xed\xb4\xd3\xba\xa3\xc3\xe6\xc9\xcf\xc2\xfd\xc2\xfd\xc9\xfd\xc6\xf0\n";
    text += "\n";
    lines += 6;
  }
  return text;
}

void BM_LabelPass20MB(benchmark::State& state) {
  vellum::setReportSink(vellum::silentReportSink());
  int lines = 0;
  const std::string script = generateScript(20u << 20, lines);
  for (auto _ : state) {
    vellum::resetAllState();
    vellum::ScriptFile file;
    vellum::parseScript(script, file);
    if (!vellum::collectLabels(42, file)) state.SkipWithError("label pass failed");
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(script.size()) * state.iterations());
  vellum::resetAllState();
  vellum::setReportSink(nullptr);
}
BENCHMARK(BM_LabelPass20MB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
