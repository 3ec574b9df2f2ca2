// Play time and getTotalTime: the seconds carried in the TotalTime setting plus this run's.
#include "persist/play_time.h"

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "persist/engine_settings.h"

namespace vellum {

uint32_t& carriedPlaySeconds() { return settings().totalTime; }

uint32_t totalPlaySeconds() { return currentTotalTime(); }

namespace {

int getTotalTimeBody(void* call) {
  args().returnInt(call, 1, static_cast<int32_t>(totalPlaySeconds()));
  return 1;
}

}  // namespace

void providePlayTimeCommand() { provideCommand("getTotalTime", &getTotalTimeBody); }

}  // namespace vellum
