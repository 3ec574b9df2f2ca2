// Arrays: a vector of values.
#pragma once

#include "squirrel/sq_gc_object.h"
#include "squirrel/sq_memory.h"

struct SQArray final : SQGCObject {
  sqvm::StorageVector<Value> items;
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};
