// The Squirrel VM against Lua 5.2 on the same three small programs, in the same run: recursive
// fib, a table-heavy loop and string building. Compare each Squirrel figure with its Lua twin.
// Two allocation-heavy scripts (bench/squirrel) report the collector's peak heap beside the time.
#include <benchmark/benchmark.h>

#include <lua.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <vellum/squirrel.h>

#include "squirrel/sq_memory.h"
#include "squirrel/standard_libraries.h"

namespace {

struct Program {
  const char* squirrel;
  const char* lua;
};

const Program kFib = {
    "function fib(n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); } return fib(27);",
    "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end return fib(27)"};

const Program kTables = {
    "local t = {}; local o = { x = 0, y = 0 };"
    "for (local i = 0; i < 200000; i++) { t[i % 1000] <- i; o.x = o.x + i; o.y = o.x - o.y; }"
    "local s = 0; for (local i = 0; i < 200000; i++) s += t[i % 1000];"
    "local names = {}; for (local i = 0; i < 2000; i++) names[\"k\" + i] <- i;"
    "for (local r = 0; r < 50; r++) foreach (k, v in names) s += v;"
    "return s + o.y;",
    "local t = {} local o = { x = 0, y = 0 }"
    " for i = 0, 199999 do t[i % 1000] = i o.x = o.x + i o.y = o.x - o.y end"
    " local s = 0 for i = 0, 199999 do s = s + t[i % 1000] end"
    " local names = {} for i = 0, 1999 do names['k' .. i] = i end"
    " for r = 1, 50 do for k, v in pairs(names) do s = s + v end end"
    " return s + o.y"};

const Program kStrings = {
    "local s = \"\"; for (local i = 0; i < 6000; i++) s += i + \",\"; return s.len();",
    "local s = '' for i = 0, 5999 do s = s .. i .. ',' end return #s"};

void quiet(HSQUIRRELVM, const SQChar*, ...) {}

void runSquirrel(benchmark::State& state, const char* source) {
  HSQUIRRELVM vm = sq_open(1024);
  sq_setprintfunc(vm, quiet, quiet);
  if (sq_compilebuffer(vm, source, static_cast<SQInteger>(std::strlen(source)), "bench.nut", SQFalse) < 0) {
    state.SkipWithError("compile error");
    sq_close(vm);
    return;
  }
  for (auto _ : state) {
    sq_push(vm, -1);
    sq_pushroottable(vm);
    if (sq_call(vm, 1, SQTrue, SQFalse) < 0) {
      state.SkipWithError("runtime error");
      break;
    }
    sq_pop(vm, 2);
  }
  sq_close(vm);
}

void runLua(benchmark::State& state, const char* source) {
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  if (luaL_loadstring(L, source) != LUA_OK) {
    state.SkipWithError("compile error");
    lua_close(L);
    return;
  }
  for (auto _ : state) {
    lua_pushvalue(L, -1);
    if (lua_pcall(L, 0, 1, 0) != LUA_OK) {
      state.SkipWithError("runtime error");
      break;
    }
    lua_pop(L, 1);
  }
  lua_close(L);
}

std::string readScript(const char* name) {
  std::ifstream in(std::string(VELLUM_SOURCE_DIR) + "/bench/squirrel/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs a script from bench/squirrel once per iteration in a fresh VM and reports, beside the time,
// the largest heap the VM's collector saw (live bytes plus bytes allocated since the last
// collection) and the live bytes after a final collection.
void runSquirrelWithPeak(benchmark::State& state, const char* name) {
  const std::string source = readScript(name);
  size_t peak = 0, live = 0;
  for (auto _ : state) {
    HSQUIRRELVM vm = sq_open(1024);
    sq_setprintfunc(vm, quiet, quiet);
    vellum::registerSquirrelStandardLibraries(vm);
    sq_collectgarbage(vm);
    const size_t baseline = sqvm::memoryUse(vm).liveBytes;
    if (source.empty() ||
        sq_compilebuffer(vm, source.data(), static_cast<SQInteger>(source.size()), name, SQFalse) < 0) {
      state.SkipWithError("cannot compile the script");
      sq_close(vm);
      break;
    }
    sq_pushroottable(vm);
    if (sq_call(vm, 1, SQFalse, SQFalse) < 0) state.SkipWithError("runtime error");
    peak = std::max(peak, sqvm::memoryUse(vm).peakBytes - baseline);
    sq_collectgarbage(vm);
    live = sqvm::memoryUse(vm).liveBytes - baseline;
    sq_close(vm);
  }
  state.counters["peak_MiB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["live_MiB"] = static_cast<double>(live) / (1 << 20);
}

void BM_Squirrel_Fib(benchmark::State& s) { runSquirrel(s, kFib.squirrel); }
void BM_Lua_Fib(benchmark::State& s) { runLua(s, kFib.lua); }
void BM_Squirrel_Tables(benchmark::State& s) { runSquirrel(s, kTables.squirrel); }
void BM_Lua_Tables(benchmark::State& s) { runLua(s, kTables.lua); }
void BM_Squirrel_Strings(benchmark::State& s) { runSquirrel(s, kStrings.squirrel); }
void BM_Lua_Strings(benchmark::State& s) { runLua(s, kStrings.lua); }

void BM_Squirrel_ListBuilding(benchmark::State& s) { runSquirrelWithPeak(s, "list_building.nut"); }
void BM_Squirrel_ArrayRebuild(benchmark::State& s) { runSquirrelWithPeak(s, "array_rebuild.nut"); }

BENCHMARK(BM_Squirrel_Fib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua_Fib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Squirrel_Tables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua_Tables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Squirrel_Strings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lua_Strings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Squirrel_ListBuilding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Squirrel_ArrayRebuild)->Unit(benchmark::kMillisecond);

}  // namespace
