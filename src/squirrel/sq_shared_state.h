// State shared by a main VM and its threads: the object list of the collector, the string table,
// the registry and const tables, the default delegates, the handlers set through the C API.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "squirrel/sq_class.h"
#include "squirrel/sq_memory.h"
#include "squirrel/sq_string.h"

namespace sqvm {

enum DelegateKind {
  DD_TABLE, DD_ARRAY, DD_STRING, DD_NUMBER, DD_CLOSURE, DD_GENERATOR, DD_THREAD, DD_CLASS,
  DD_INSTANCE, DD_WEAKREF, DD_COUNT
};

struct SharedState {
  SQGCObject* objects = nullptr;
  size_t objectCount = 0;
  size_t allocationsSinceCollect = 0;
  size_t collectThreshold = 20000;
  uint64_t allocatedAtCollect = storageAllocated.load(std::memory_order_relaxed);
  size_t liveBytes = 0;  // footprint of the survivors of the last collection
  size_t byteThreshold = kMinimumCollectBytes;
  size_t peakBytes = 0;  // largest live bytes plus bytes allocated since, seen at a safe point
  size_t allocatedSinceCollect() const {
    return static_cast<size_t>(storageAllocated.load(std::memory_order_relaxed) - allocatedAtCollect);
  }
  // Records the heap size estimate and returns the bytes allocated since the last collection.
  size_t notePeak() {
    const size_t since = allocatedSinceCollect();
    if (liveBytes + since > peakBytes) peakBytes = liveBytes + since;
    return since;
  }
  uint32_t epoch = 1;
  bool closing = false;

  StringTable strings;
  SQVM* mainVM = nullptr;
  Value registry = nullValue();
  Value consttable = nullValue();
  Value errorHandler = nullValue();
  Value debugHook = nullValue();          // a script hook, or null
  SQDEBUGHOOK nativeDebugHook = nullptr;  // or a native one (setting either clears the other)
  bool debugHookSet() const { return debugHook._type != OT_NULL || nativeDebugHook; }
  SQCOMPILERERROR compilerErrorHandler = nullptr;
  SQPRINTFUNCTION printFunction = nullptr;
  SQPRINTFUNCTION errorFunction = nullptr;
  bool debugInfo = false;
  bool notifyAllExceptions = false;
  SQTable* delegates[DD_COUNT] = {};
  SQString* metaNames[MT_COUNT] = {};
  SQString* constructorName = nullptr;
  std::unordered_map<SQGCObject*, SQUnsignedInteger> pinned;  // sq_addref counts
  SQUserPointer sharedForeign = nullptr;
  SQRELEASEHOOK sharedReleaseHook = nullptr;
  std::string scratchpad;
  int nestedExecutions = 0;          // C++ depth of the interpreter across the group
  SQInteger instructionLimit = 0;    // 0: none
  SQInteger instructionsLeft = 0;

  template <class T, class... Args>
  T* make(Args&&... args) {
    T* object = new T(static_cast<Args&&>(args)...);
    link(object);
    return object;
  }
  // Objects are linked once their own size is set (a string's characters, a userdata's payload).
  void link(SQGCObject* object) {
    noteAllocation(object->footprint());
    object->gcNext = objects;
    objects = object;
    ++objectCount;
    ++allocationsSinceCollect;
  }

  SQString* string(std::string_view s) { return strings.intern(*this, s.data(), s.size()); }
  Value stringValue(std::string_view s) { return objectValue(OT_STRING, string(s)); }
};

// Marking for the collector: a worklist, so deep structures do not recurse in C++.
class Collector {
 public:
  explicit Collector(uint32_t epoch) : epoch_(epoch) {}
  void mark(SQGCObject* object) {
    if (object && object->gcMark != epoch_) {
      object->gcMark = epoch_;
      gray_.push_back(object);
    }
  }
  void mark(const Value& v) {
    if (v._type & SQOBJECT_REF_COUNTED) mark(v._unVal.pRefCounted);
  }
  void drain() {
    while (!gray_.empty()) {
      SQGCObject* o = gray_.back();
      gray_.pop_back();
      o->traverse(*this);
    }
  }

 private:
  uint32_t epoch_;
  std::vector<SQGCObject*> gray_;
};

// Runs a full collection; returns the number of objects freed.
SQInteger collectGarbage(SharedState& state);
// Collects when enough was allocated since the last run (called at interpreter safe points).
inline void maybeCollect(SharedState& state) {
#ifdef SQVM_GC_STRESS
  // Collector stress builds collect at every safe point, to flush out unrooted values.
  collectGarbage(state);
  return;
#endif
  const size_t bytes = state.notePeak();
  if (state.allocationsSinceCollect >= state.collectThreshold || bytes >= state.byteThreshold) collectGarbage(state);
}
// Frees every object (closing the VM group).
void freeAllObjects(SharedState& state);

}  // namespace sqvm
