// Mark and sweep over every object of a VM group. Roots: the main VM (its stack, frames, root
// table), the registry, the const table, the handlers, the default delegates, the metamethod names
// and the objects pinned with sq_addref.
#include <algorithm>

#include "squirrel/sq_shared_state.h"
#include "squirrel/sq_table.h"
#include "squirrel/sq_userdata.h"
#include "squirrel/sq_vm.h"

namespace sqvm {

SQInteger collectGarbage(SharedState& state) {
  state.notePeak();
  ++state.epoch;
  if (state.epoch == 0) state.epoch = 1;
  const uint32_t epoch = state.epoch;
  Collector gc(epoch);
  gc.mark(state.mainVM);
  gc.mark(state.registry);
  gc.mark(state.consttable);
  gc.mark(state.errorHandler);
  gc.mark(state.debugHook);
  for (SQTable* d : state.delegates) gc.mark(d);
  for (SQString* s : state.metaNames) gc.mark(s);
  gc.mark(state.constructorName);
  for (const auto& [object, count] : state.pinned) gc.mark(object);
  gc.drain();

  SQInteger freed = 0;
  size_t live = 0;
  SQGCObject** link = &state.objects;
  while (SQGCObject* o = *link) {
    if (o->gcMark == epoch) {
      live += o->footprint();
      link = &o->gcNext;
      continue;
    }
    *link = o->gcNext;
    if (o->weak && o->weak->gcMark == epoch) o->weak->target = nullptr;
    if (SQWeakRef* w = dynamic_cast<SQWeakRef*>(o); w && w->target && w->target->gcMark == epoch) w->target->weak = nullptr;
    o->finalize(state);
    o->destroy();
    --state.objectCount;
    ++freed;
  }
  state.allocationsSinceCollect = 0;
  state.collectThreshold = std::max<size_t>(20000, state.objectCount);
  // The next collection comes when as much again as is live was allocated.
  state.liveBytes = live;
  state.allocatedAtCollect = storageAllocated.load(std::memory_order_relaxed);
  state.byteThreshold = std::max(kMinimumCollectBytes, live);
  return freed;
}

void freeAllObjects(SharedState& state) {
  state.closing = true;
  // Release hooks first, while every object still exists.
  for (SQGCObject* o = state.objects; o; o = o->gcNext) o->finalize(state);
  while (SQGCObject* o = state.objects) {
    state.objects = o->gcNext;
    o->destroy();
  }
  state.objectCount = 0;
}

}  // namespace sqvm
