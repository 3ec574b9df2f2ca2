#include "engine/rollback.h"

#include <algorithm>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "engine/rollback_ring.h"
#include "engine/save_snapshot.h"
#include "persist/script_save_lines.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/read_mode.h"
#include "script/script_state.h"
#include "script/variables.h"
#include "text/backlog.h"

namespace vellum {

namespace {

struct RollbackState {
  RollbackRing ring;
  int64_t depth = 0;
  RollbackStats totals;
};

RollbackState& state() {
  static RollbackState rollback;
  return rollback;
}

// The newest snapshot is the page on screen until that page is committed to the backlog.
bool newestPageOpen() {
  const RollbackRing& ring = state().ring;
  return !ring.empty() && ring.back(0).context.backlogIndex == backlog().index;
}

// A loop variable of a kept page, if it still exists: a named one may have been erased since.
int32_t* liveLoopVariable(int32_t* variable) {
  VariableStore& v = variables();
  if (variable >= v.ints.data() && variable < v.ints.data() + v.ints.size()) return variable;
  for (auto& [name, value] : v.namedInts)
    if (&value == variable) return variable;
  return nullptr;
}

void restoreCallStacks(const ScriptCallStacks& calls) {
  ScriptState& s = scriptState();
  s.callFrames = calls.callFrames;
  s.callerKeys = calls.callerKeys;
  s.loopFrames = calls.loopFrames;
  for (LoopFrame& loop : s.loopFrames) loop.variable = liveLoopVariable(loop.variable);
  s.conditionStates = calls.conditionStates;
  s.loopsOpened = calls.loopsOpened;
}

void reportRollback(const std::string& text) { errorc(ReportText().ascii(text), true); }

}  // namespace

void takePageSnapshot() {
  RollbackState& r = state();
  const ScriptState& s = scriptState();
  // Pages passed over while returning to a backlog entry are never shown.
  if (r.depth == 0 || s.fastForwardMode != 0) return;
  std::string block = composeStateLines();
  writeCurrentLineResumeLine(block);
  PageContext context;
  context.calls = {s.callFrames, s.callerKeys, s.loopFrames, s.conditionStates, s.loopsOpened};
  context.backlogIndex = backlog().index;
  context.windowVisible = readMode().windowVisible;
  const SnapshotCost cost = r.ring.push(block, std::move(context));
  ++r.totals.pages;
  if (!cost.followsAnother) {
    ++r.totals.firstPages;
    return;
  }
  r.totals.blockBytes += cost.blockBytes;
  r.totals.storedBytes += cost.storedBytes;
}

bool setRollbackDepth(int64_t depth) {
  if (depth < 0 || depth > kMaxRollbackDepth) {
    reportRollback("setRollback " + std::to_string(depth) + ": the depth must be 0 (off) to " +
                   std::to_string(kMaxRollbackDepth) + " pages");
    return false;
  }
  RollbackState& r = state();
  r.depth = depth;
  // The page on screen is kept too: it is where the count of pages back starts.
  r.ring.setCapacity(depth == 0 ? 0 : static_cast<size_t>(depth) + 1);
  return true;
}

int64_t rollbackDepth() { return state().depth; }

int64_t rollbackSteps() {
  const RollbackState& r = state();
  return std::min(static_cast<int64_t>(r.ring.size()) - (newestPageOpen() ? 1 : 0), r.depth);
}

bool rollBack(int64_t pages) {
  RollbackState& r = state();
  const std::string command = "rollback " + std::to_string(pages) + ": ";
  if (r.depth == 0) {
    reportRollback(command + "rolling back is off (setRollback DEPTH turns it on)");
    return false;
  }
  const int64_t steps = rollbackSteps();
  if (pages < 1) {
    reportRollback(command + "the number of pages must be 1 or more");
    return false;
  }
  if (pages > steps) {
    reportRollback(command + (steps == 0 ? std::string("no earlier page is kept")
                                         : "only " + std::to_string(steps) + (steps == 1 ? " page" : " pages") +
                                               " back can be rolled back to"));
    return false;
  }
  const size_t target = static_cast<size_t>(pages - 1) + (newestPageOpen() ? 1 : 0);
  const PageSnapshot& snapshot = r.ring.back(target);
  const PageContext context = snapshot.context;
  if (!restoreSaveBlock(RollbackRing::blockText(snapshot), false)) return false;
  restoreCallStacks(context.calls);
  readMode().windowVisible = context.windowVisible;
  // The page comes back as it begins, and is kept again then; the pages after it are replayed.
  r.ring.dropNewest(target + 1);
  return true;
}

void forgetRollbackPages() { state().ring.clear(); }

void resetRollback() { state() = RollbackState{}; }

RollbackStats rollbackStats() {
  RollbackStats stats = state().totals;
  stats.heldBytes = state().ring.heldBytes();
  stats.kept = state().ring.size();
  return stats;
}

namespace {

int setRollbackBody(void* call) {
  setCurrentCommandName("setRollback");
  setRollbackDepth(args().getInt(call, 1));
  return noResult(call);
}

int rollbackBody(void* call) {
  setCurrentCommandName("rollback");
  rollBack(args().getInt(call, 1));
  return noResult(call);
}

int getRollbackBody(void* call) {
  setCurrentCommandName("getRollback");
  args().returnInt(call, args().count[1](call), static_cast<int32_t>(rollbackSteps()));
  return 1;
}

}  // namespace

void provideRollbackCommands() {
  provideCommand("setRollback", &setRollbackBody);
  provideCommand("rollback", &rollbackBody);
  provideCommand("getRollback", &getRollbackBody);
}

}  // namespace vellum
