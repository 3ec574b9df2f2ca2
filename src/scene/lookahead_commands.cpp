// The picture cache's and look-ahead's commands of the three bindings.
#include <string>

#include "base/engine_state.h"
#include "commands/arg_accessor.h"
#include "commands/command_registry.h"
#include "scene/lookahead.h"
#include "scene/picture_cache.h"

namespace vellum {

namespace {

std::string stringArg(void* call, int i) {
  size_t length = 0;
  const char* text = args().getStringLength(call, i, &length);
  return std::string(text ? text : "", text ? length : 0);
}

int nothing(void* call) {
  args().returnNothing(call);
  return 1;
}

int lookaheadBody(void* call) {
  setCurrentCommandName("lookahead");
  if (lookaheadAllowed()) runLookaheadPass();
  return nothing(call);
}

int lookaheadSetBody(void* call) {
  setCurrentCommandName("lookahead_set");
  registerLookaheadPattern(stringArg(call, 1), stringArg(call, 2), args().getInt(call, 3));
  return nothing(call);
}

int lookaheadStopBody(void* call) {
  setCurrentCommandName("lookahead_stop");
  registerLookaheadStop(stringArg(call, 1));
  return nothing(call);
}

int lookahead2Body(void* call) {
  setCurrentCommandName("lookahead2");
  if (lookaheadAllowed()) runVoiceLookahead();
  return nothing(call);
}

int cacheClearBody(void* call) {
  setCurrentCommandName("cacheClear");
  clearPictureCache();
  return nothing(call);
}

}  // namespace

void provideLookaheadCommands() {
  provideCommand("lookahead", &lookaheadBody);
  provideCommand("lookahead_set", &lookaheadSetBody);
  provideCommand("lookahead_stop", &lookaheadStopBody);
  provideCommand("lookahead2", &lookahead2Body);
  provideCommand("cacheClear", &cacheClearBody);
}

}  // namespace vellum
