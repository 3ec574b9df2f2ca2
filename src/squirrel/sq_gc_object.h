// The header every collectable object starts with. The collector is a stop-the-world mark and
// sweep over the list of all objects of a VM group; a weak reference to an object is remembered in
// the object itself so that sweeping the object clears the reference.
#pragma once

#include <cstddef>
#include <cstdint>

#include "squirrel/sq_value.h"

namespace sqvm {
class Collector;
struct SharedState;
}  // namespace sqvm

struct SQGCObject {
  SQGCObject* gcNext = nullptr;
  uint32_t gcMark = 0;
  SQWeakRef* weak = nullptr;

  SQGCObject() = default;
  SQGCObject(const SQGCObject&) = delete;
  SQGCObject& operator=(const SQGCObject&) = delete;
  virtual ~SQGCObject() = default;
  // Marks every object this one refers to.
  virtual void traverse(sqvm::Collector& gc) = 0;
  // Called before the object is freed (release hooks, string table removal); must not allocate.
  virtual void finalize(sqvm::SharedState&) {}
  // Frees the object's memory (objects with inline payloads override this).
  virtual void destroy() { delete this; }
  // Bytes the object holds: its header and every allocation it owns.
  virtual size_t footprint() const = 0;
};
