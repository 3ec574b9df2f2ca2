#include "text/backlog.h"

namespace vellum {

namespace {
BacklogState backlogState;
}  // namespace

BacklogState& backlog() { return backlogState; }
void resetBacklog() { backlogState = BacklogState{}; }

}  // namespace vellum
