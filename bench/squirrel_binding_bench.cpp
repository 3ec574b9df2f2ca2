// The cost of reaching an engine command from Squirrel (the wrapper, the accessor switch and the
// shared body) against calling an empty native closure, in the same run.
#include <benchmark/benchmark.h>

#include <vellum/exports.h>

#include <string>

#include "commands/squirrel/squirrel_binding.h"
#include "engine/startup.h"
#include "script/variables.h"

namespace {

SQInteger emptyFunction(HSQUIRRELVM) { return 0; }

void runLoop(benchmark::State& state, const char* call) {
  vellum::resetAllState();
  vellum::variables().ints[1] = 5;
  HSQUIRRELVM v = vellum::ensureSquirrelVM();
  sq_register_func(v, "empty", &emptyFunction);
  const std::string source = std::string("for (local i = 0; i < 100000; ++i) ") + call + ";";
  if (SQ_FAILED(sq_compilebuffer(v, source.data(), static_cast<SQInteger>(source.size()), "bench", SQTrue))) {
    state.SkipWithError("the loop does not compile");
    return;
  }
  for (auto _ : state) {
    sq_pushroottable(v);
    if (SQ_FAILED(sq_call(v, 1, SQFalse, SQTrue))) {
      state.SkipWithError("the loop failed");
      break;
    }
  }
  sq_poptop(v);
  state.SetItemsProcessed(100000 * state.iterations());
  vellum::resetAllState();
}

void BM_EmptyNativeClosure(benchmark::State& state) { runLoop(state, "empty(1)"); }
void BM_EngineCommand(benchmark::State& state) { runLoop(state, "getScriptInteger(1)"); }

BENCHMARK(BM_EmptyNativeClosure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineCommand)->Unit(benchmark::kMillisecond);

}  // namespace
