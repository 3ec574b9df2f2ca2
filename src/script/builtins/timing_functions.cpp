// sleep, getTimer, timeGetTime and getStartTime (getTotalTime lives with the play-time setting).
#include <algorithm>
#include <chrono>
#include <thread>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "base/clock.h"
#include "platform/message_pump.h"
#include "script/builtins/builtin_families.h"

namespace vellum {

namespace {

// The longest stretch a sleep goes without looking at the quit flag.
constexpr uint32_t kQuitCheckMs = 50;

// Sleeps in short slices, so that a quit asked for meanwhile (a signal sets the flag directly)
// ends the sleep at once instead of after the whole wait.
void sleepUnlessQuit(uint32_t milliseconds) {
  const uint32_t start = tickMilliseconds();
  while (!engine().quitFlag) {
    const uint32_t elapsed = tickMilliseconds() - start;
    if (elapsed >= milliseconds) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(milliseconds - elapsed, kQuitCheckMs)));
  }
}

// Lets the window system run once; a quit request stops the engine instead of sleeping.
int sleepBody(void* call) {
  const int32_t milliseconds = args().getInt(call, 1);
  if (pumpMessagesOnce()) {
    engine().quitFlag = 1;
  } else if (milliseconds > 0) {
    sleepUnlessQuit(static_cast<uint32_t>(milliseconds));
  }
  args().returnNothing(call);
  return 1;
}

int getTimerBody(void* call) {
  args().returnInt(call, 1, static_cast<int32_t>(tickMilliseconds() - engine().startTime));
  return 1;
}

int timeGetTimeBody(void* call) {
  args().returnInt(call, 1, static_cast<int32_t>(tickMilliseconds()));
  return 1;
}

int getStartTimeBody(void* call) {
  args().returnInt(call, 1, static_cast<int32_t>(engine().startTime));
  return 1;
}

}  // namespace

void provideTimingFunctions() {
  provideCommand("sleep", &sleepBody);
  provideCommand("getTimer", &getTimerBody);
  provideCommand("timeGetTime", &timeGetTimeBody);
  provideCommand("getStartTime", &getStartTimeBody);
}

}  // namespace vellum
