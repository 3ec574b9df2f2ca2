// The pages a player can roll back to: one snapshot per page, the newest last, at most a set number.
// A snapshot is a save block kept in pieces of whole lines (a long line alone, short ones a few
// together); a piece equal to one of the snapshot before it is held by reference, not copied, so a
// page that changed a few sprites costs the pieces those sprites' lines are in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_state.h"

namespace vellum {

// Where the script's subroutine and loop stacks stood when the page began: a save block resumes
// outside every subroutine, a rolled-back page goes on inside the ones it was shown in.
struct ScriptCallStacks {
  std::vector<CallFrame> callFrames;
  std::vector<uint64_t> callerKeys;
  std::vector<LoopFrame> loopFrames;
  std::vector<int> conditionStates;
  int loopsOpened = 0;
};

// What a page keeps beside its save block.
struct PageContext {
  ScriptCallStacks calls;
  int backlogIndex = 0;   // the backlog entry the page is written into
  int windowVisible = 3;  // a load hides the message window; a rolled-back page shows it as it was
};

struct PageSnapshot {
  std::vector<std::shared_ptr<const std::string>> pieces;  // whole lines, each with its line feed
  PageContext context;
};

// What one snapshot cost: the block's bytes, and the bytes it added (its new pieces and their
// bookkeeping, and its list of pieces).
struct SnapshotCost {
  size_t blockBytes = 0;
  size_t storedBytes = 0;
  bool followsAnother = false;  // there was a snapshot before it to share with
};

class RollbackRing {
 public:
  // Keeps at most `capacity` snapshots, dropping the oldest; 0 empties the ring.
  void setCapacity(size_t capacity);
  size_t capacity() const { return capacity_; }
  size_t size() const { return snapshots_.size(); }
  bool empty() const { return snapshots_.empty(); }

  // Adds the newest snapshot (nothing when the capacity is 0).
  SnapshotCost push(std::string_view block, PageContext context);
  // n = 0 is the newest.
  const PageSnapshot& back(size_t n) const { return snapshots_[snapshots_.size() - 1 - n]; }
  void dropNewest(size_t n);
  void clear() { snapshots_.clear(); }

  // The save block of a snapshot, whole again.
  static std::string blockText(const PageSnapshot& snapshot);
  // Bytes the ring holds: every distinct piece once, and the snapshots' lists of pieces.
  size_t heldBytes() const;

 private:
  std::deque<PageSnapshot> snapshots_;
  size_t capacity_ = 0;
};

}  // namespace vellum
