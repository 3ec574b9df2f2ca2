// Interpreter throughput on a loop of cal and if lines, against the same loop in the Lua 5.2
// interpreter (lua5.2) as the baseline, measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "script/command_registry.h"
#include "engine/interpreter.h"
#include "base/report.h"
#include "engine/startup.h"
#include "script/label_pass.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "script/variables.h"
#include "storage/hashes.h"

namespace {

constexpr int kIterations = 200000;
// Per iteration: cal, if (+ its guarded cal), cal, next = 5 commands.
constexpr int kCommandsPerIteration = 5;

const char* kScript =
    "int total, odd\n"
    "for %1, 1, 200000\n"
    "cal %total += %1 * 3\n"
    "if (%1 & 1) cal %odd += 1\n"
    "cal %total -= %odd\n"
    "next\n";

const char* kLuaScript =
    "local total, odd = 0, 0 "
    "for i = 1, 200000 do "
    "total = total + i * 3 "
    "if i % 2 == 1 then odd = odd + 1 end "
    "total = total - odd "
    "end";

void BM_NativeLoop(benchmark::State& state) {
  vellum::setReportSink(vellum::silentReportSink());
  for (auto _ : state) {
    vellum::resetAllState();
    vellum::resetVariables();
    vellum::registerAllCommands();
    vellum::FileSlot& slot = vellum::scriptState().slots[0];
    vellum::parseScript(kScript, slot.lines);
    slot.key = vellum::startFileKey();
    slot.displayName = "script/0.txt";
    vellum::collectLabels(slot.key, slot.lines);
    vellum::runInterpreter();
  }
  state.counters["commands/s"] = benchmark::Counter(
      static_cast<double>(kIterations) * kCommandsPerIteration * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
  vellum::setReportSink(nullptr);
}
BENCHMARK(BM_NativeLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Lua52Loop(benchmark::State& state) {
  const std::string command = std::string("lua5.2 -e '") + kLuaScript + "'";
  if (std::system("command -v lua5.2 >/dev/null 2>&1") != 0) {
    state.SkipWithError("lua5.2 is not installed");
    return;
  }
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("lua5.2 failed");
  }
  state.counters["commands/s"] = benchmark::Counter(
      static_cast<double>(kIterations) * kCommandsPerIteration * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Lua52Loop)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
