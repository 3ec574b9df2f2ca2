// Interpreter throughput on a loop of for, cal and if lines, against the same loop in Lua 5.2 run
// in this process as the baseline, measured in the same run. Lua runs first; the native figure then
// carries its ratio to Lua as "vs_lua". Rates are per second of the thread's CPU time.
#include <benchmark/benchmark.h>

#include <lua.hpp>

#include <time.h>

#include <string>

#include "base/report.h"
#include "engine/interpreter.h"
#include "engine/startup.h"
#include "script/command_registry.h"
#include "script/label_pass.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "script/variables.h"

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

double luaCommandsPerSecond = 0;

// CPU time of this thread: the machines these run on are shared, and waiting for a core is not the
// interpreter's cost.
double secondsNow() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double commandsPerSecond(const benchmark::State& state, double seconds) {
  return static_cast<double>(kIterations) * kCommandsPerIteration * static_cast<double>(state.iterations()) / seconds;
}

void BM_Lua52Loop(benchmark::State& state) {
  lua_State* lua = luaL_newstate();
  if (luaL_loadstring(lua, kLuaScript) != LUA_OK) {
    state.SkipWithError("the Lua loop does not compile");
    lua_close(lua);
    return;
  }
  double seconds = 0;
  for (auto _ : state) {
    const auto start = secondsNow();
    lua_pushvalue(lua, -1);
    if (lua_pcall(lua, 0, 0, 0) != LUA_OK) state.SkipWithError("the Lua loop failed");
    seconds += secondsNow() - start;
  }
  lua_close(lua);
  luaCommandsPerSecond = seconds > 0 ? commandsPerSecond(state, seconds) : 0;
  state.counters["commands/s"] = luaCommandsPerSecond;
}
BENCHMARK(BM_Lua52Loop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NativeLoop(benchmark::State& state) {
  vellum::setReportSink(vellum::silentReportSink());
  double seconds = 0;
  for (auto _ : state) {
    // Loading the script is not part of the loop's speed.
    state.PauseTiming();
    vellum::resetAllState();
    vellum::resetVariables();
    vellum::registerAllCommands();
    vellum::FileSlot& slot = vellum::scriptState().slots[0];
    vellum::parseScript(kScript, slot.lines);
    slot.key = vellum::startFileKey();
    slot.displayName = "script/0.txt";
    vellum::collectLabels(slot.key, slot.lines);
    state.ResumeTiming();
    const auto start = secondsNow();
    vellum::runInterpreter();
    seconds += secondsNow() - start;
  }
  vellum::setReportSink(nullptr);
  const double rate = seconds > 0 ? commandsPerSecond(state, seconds) : 0;
  state.counters["commands/s"] = rate;
  if (luaCommandsPerSecond > 0) state.counters["vs_lua"] = rate / luaCommandsPerSecond;
}
BENCHMARK(BM_NativeLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
