// Arrays: a vector of values.
#pragma once

#include <vector>

#include "squirrel/sq_gc_object.h"

struct SQArray final : SQGCObject {
  std::vector<Value> items;
  void traverse(sqvm::Collector& gc) override;
};
