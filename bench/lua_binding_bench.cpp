// The cost of reaching an engine command from Lua (the accessor switch and the shared body) against
// calling an empty Lua C function, in the same run.
#include <benchmark/benchmark.h>

#include "commands/lua/lua_binding.h"
#include "engine/startup.h"
#include "script/variables.h"

namespace {

int emptyFunction(lua_State*) { return 0; }

void runLoop(benchmark::State& state, const char* call) {
  vellum::resetAllState();
  vellum::variables().ints[1] = 5;
  lua_State* L = vellum::ensureLuaVM();
  lua_pushcfunction(L, &emptyFunction);
  lua_setglobal(L, "empty");
  const std::string chunk = std::string("for i = 1, 100000 do ") + call + " end";
  for (auto _ : state) {
    if (luaL_dostring(L, chunk.c_str()) != LUA_OK) {
      state.SkipWithError(lua_tostring(L, -1));
      break;
    }
  }
  state.SetItemsProcessed(100000 * state.iterations());
  vellum::resetAllState();
}

void BM_EmptyCFunction(benchmark::State& state) { runLoop(state, "empty(1)"); }
void BM_EmptyCFunctionNoArguments(benchmark::State& state) { runLoop(state, "empty()"); }
void BM_GetTimer(benchmark::State& state) { runLoop(state, "getTimer()"); }
void BM_GetScriptInteger(benchmark::State& state) { runLoop(state, "getScriptInteger(1)"); }

BENCHMARK(BM_EmptyCFunction)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyCFunctionNoArguments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetTimer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetScriptInteger)->Unit(benchmark::kMillisecond);

}  // namespace
