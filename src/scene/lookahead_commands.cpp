// The picture cache's and look-ahead's commands of the three bindings.
#include <string>

#include "base/engine_state.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "scene/lookahead.h"
#include "scene/picture_cache.h"

namespace vellum {

namespace {

int lookaheadBody(void* call) {
  setCurrentCommandName("lookahead");
  if (lookaheadAllowed()) runLookaheadPass();
  return noResult(call);
}

int lookaheadSetBody(void* call) {
  setCurrentCommandName("lookahead_set");
  registerLookaheadPattern(stringArgument(call, 1), stringArgument(call, 2), args().getInt(call, 3));
  return noResult(call);
}

int lookaheadStopBody(void* call) {
  setCurrentCommandName("lookahead_stop");
  registerLookaheadStop(stringArgument(call, 1));
  return noResult(call);
}

int lookahead2Body(void* call) {
  setCurrentCommandName("lookahead2");
  if (lookaheadAllowed()) runVoiceLookahead();
  return noResult(call);
}

int cacheClearBody(void* call) {
  setCurrentCommandName("cacheClear");
  clearPictureCache();
  return noResult(call);
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
