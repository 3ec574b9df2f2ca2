// Rolling back to an earlier page. With a depth set, each page's state is kept as the page begins:
// what a save of that moment holds, to resume at the page's first line inside the subroutines it
// was shown in. A rollback restores one of them as a load would and the script runs on from
// there, so going forward shows the pages again and a choice may be taken differently.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

// The interpreter calls this as the first line of a page runs, before anything of it is shown.
void takePageSnapshot();

// The pages kept before the current one, 0 (off) to kMaxRollbackDepth; reports another depth.
constexpr int64_t kMaxRollbackDepth = 1000;
bool setRollbackDepth(int64_t depth);
int64_t rollbackDepth();
// How many pages back a rollback can go now.
int64_t rollbackSteps();
// Back `pages` pages; reports when rolling back is off or the number is out of range.
bool rollBack(int64_t pages);
// A load replaces the story state: the pages kept before it lead elsewhere.
void forgetRollbackPages();
void resetRollback();

// What the kept pages cost: the snapshots taken since the reset, those of them that had no page
// before them to share with (the first, the first after a load); for the others the bytes of their
// blocks and the bytes they added. The bytes the kept snapshots hold now.
struct RollbackStats {
  size_t pages = 0;
  size_t firstPages = 0;
  size_t blockBytes = 0;
  size_t storedBytes = 0;
  size_t heldBytes = 0;
  size_t kept = 0;
};
RollbackStats rollbackStats();

void provideRollbackCommands();

}  // namespace vellum
