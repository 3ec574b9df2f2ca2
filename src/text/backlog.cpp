#include "text/backlog.h"

namespace vellum {

namespace {
BacklogState backlogState;
}  // namespace

BacklogState& backlog() { return backlogState; }

// Reset in place: the ring is close to a megabyte, too large for a temporary on the stack.
void resetBacklog() {
  backlogState.entries.fill(BacklogEntry{});
  backlogState.index = 0;
  backlogState.count = 1;
  backlogState.writeOffset = 0;
  backlogState.savePushDepth = 0;
  backlogState.saveFlag = 1;
}

}  // namespace vellum
