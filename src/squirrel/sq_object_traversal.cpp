// What each kind of object keeps alive, and what happens when it is freed.
#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "squirrel/sq_array.h"
#include "squirrel/sq_class.h"
#include "squirrel/sq_function.h"
#include "squirrel/sq_generator.h"
#include "squirrel/sq_shared_state.h"
#include "squirrel/sq_table.h"
#include "squirrel/sq_userdata.h"
#include "squirrel/sq_vm.h"

void SQArray::traverse(sqvm::Collector& gc) {
  for (const Value& v : items) gc.mark(v);
}

int32_t SQFunctionProto::lineAt(size_t pc) const {
  int32_t line = firstLine;
  for (const LineInfo& l : lines) {
    if (l.pc > pc) break;
    line = l.line;
  }
  return line;
}

void SQFunctionProto::traverse(sqvm::Collector& gc) {
  for (const Value& v : constants) gc.mark(v);
  for (SQFunctionProto* child : children) gc.mark(child);
  for (const OuterInfo& o : outers) gc.mark(o.name);
  for (const LocalInfo& l : locals) gc.mark(l.name);
  for (SQString* p : parameterNames) gc.mark(p);
  gc.mark(name);
  gc.mark(source);
}

void SQOuter::traverse(sqvm::Collector& gc) { gc.mark(*valuePtr); }

void SQClosure::traverse(sqvm::Collector& gc) {
  gc.mark(proto);
  for (SQOuter* o : outers) gc.mark(o);
  for (const Value& v : defaults) gc.mark(v);
  gc.mark(env);
  gc.mark(root);
  gc.mark(base);
}

void SQNativeClosure::traverse(sqvm::Collector& gc) {
  for (const Value& v : outers) gc.mark(v);
  gc.mark(name);
  gc.mark(env);
}

SQClass::SQClass() {
  for (Value& m : metamethods) m = sqvm::nullValue();
}

void SQClass::traverse(sqvm::Collector& gc) {
  gc.mark(base);
  gc.mark(members);
  for (const Member& m : fields) {
    gc.mark(m.value);
    gc.mark(m.attributes);
  }
  for (const Member& m : methods) {
    gc.mark(m.value);
    gc.mark(m.attributes);
  }
  gc.mark(attributes);
  for (const Value& m : metamethods) gc.mark(m);
  gc.mark(constructor);
}

void SQInstance::traverse(sqvm::Collector& gc) {
  gc.mark(cls);
  for (const Value& v : fields) gc.mark(v);
}

void SQInstance::finalize(sqvm::SharedState&) {
  if (hook) hook(up, 0);
}

size_t SQUserData::headerSize() { return (sizeof(SQUserData) + 15) & ~size_t(15); }

void SQUserData::traverse(sqvm::Collector& gc) { gc.mark(delegate); }

void SQUserData::finalize(sqvm::SharedState&) {
  if (hook) hook(payload(), size);
}

void SQUserData::destroy() {
  this->~SQUserData();
  ::operator delete(this);
}

void SQGenerator::traverse(sqvm::Collector& gc) {
  gc.mark(closure);
  for (const Value& v : registers) gc.mark(v);
}

SQVM::SQVM(sqvm::SharedState* state, int64_t capacity, size_t frameLimit) : shared(state) {
  stackCapacity = capacity;
  maxFrames = frameLimit;
  frames.reserve(frameLimit + 1);
  // Reserved, not committed: pages appear (zeroed) as the stack grows into them.
  void* memory = mmap(nullptr, static_cast<size_t>(capacity) * sizeof(Value), PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (memory == MAP_FAILED) std::abort();
  stack = static_cast<Value*>(memory);
}

SQVM::~SQVM() { munmap(stack, static_cast<size_t>(stackCapacity) * sizeof(Value)); }

void SQVM::traverse(sqvm::Collector& gc) {
  for (int64_t i = 0; i < top; ++i) gc.mark(stack[i]);
  // Registers of outer frames above the running call are dead temporaries, but they come back
  // into range when the call returns: empty them so they never point at a freed object.
  int64_t limit = top;
  for (const sqvm::CallFrame& f : frames) limit = std::max(limit, f.top);
  for (int64_t i = top; i < limit; ++i) stack[i] = sqvm::nullValue();
  for (const sqvm::CallFrame& f : frames) {
    gc.mark(f.closure);
    gc.mark(f.native);
    gc.mark(f.generator);
  }
  for (SQOuter* o = openOuters; o; o = o->nextOpen) gc.mark(o);
  gc.mark(lastError);
  gc.mark(roottable);
}

void SQVM::finalize(sqvm::SharedState&) {
  if (releaseHook) releaseHook(foreign, 0);
}
