// Generators: a suspended function frame. While suspended its registers live here; resuming
// copies them back onto the resumer's stack.
#pragma once

#include <vector>

#include "squirrel/sq_gc_object.h"
#include "squirrel/sq_memory.h"
#include "squirrel/sq_opcodes.h"

struct SQGenerator final : SQGCObject {
  enum State { kSuspended, kRunning, kDead };
  struct SavedTrap {
    uint32_t handlerPc;
    int64_t stackOffset;
    uint16_t reg;
  };
  SQClosure* closure = nullptr;
  sqvm::StorageVector<Value> registers;
  std::vector<SavedTrap> traps;
  uint32_t pc = 0;
  State state = kSuspended;
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};
