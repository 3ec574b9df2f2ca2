// A Squirrel thread of execution (HSQUIRRELVM): a value stack with a fixed capacity reserved up
// front (so stack pointers stay valid), the call frames, the exception traps and the open
// free-variable cells. Every VM of a group shares one SharedState.
#pragma once

#include <string>
#include <vector>

#include "squirrel/sq_gc_object.h"
#include "squirrel/sq_opcodes.h"

namespace sqvm {
struct SharedState;

constexpr int64_t kMainStackSlots = 1 << 18;
constexpr int64_t kThreadStackSlots = 1 << 16;
constexpr size_t kMainFrames = 16384;
constexpr size_t kThreadFrames = 4096;
// Room every native function gets for its own pushes.
constexpr int64_t kNativeStackReserve = 256;

struct CallFrame {
  SQClosure* closure = nullptr;         // script frames
  SQNativeClosure* native = nullptr;    // native frames
  const Instr* pc = nullptr;            // next instruction (script frames)
  int64_t base = 0;                     // stack index of `this`
  int64_t top = 0;                      // first slot past the frame
  uint16_t target = kNoReg;             // caller register receiving the result
  bool exitOnReturn = false;            // returning ends the current execute() call
  SQGenerator* generator = nullptr;     // set for a resumed generator's frame
};

struct Trap {
  size_t frameIndex;
  const Instr* handler;
  int64_t stackTop;
  uint16_t reg;
};
}  // namespace sqvm

struct SQVM final : SQGCObject {
  sqvm::SharedState* shared = nullptr;
  Value* stack = nullptr;
  int64_t stackCapacity = 0;
  int64_t top = 0;        // first free slot
  int64_t stackBase = 0;  // slot of index 1 for the C API
  std::vector<sqvm::CallFrame> frames;
  std::vector<sqvm::Trap> traps;
  SQOuter* openOuters = nullptr;
  Value lastError = sqvm::nullValue();
  Value roottable = sqvm::nullValue();
  SQInteger state = SQ_VMSTATE_IDLE;
  SQUserPointer foreign = nullptr;
  SQRELEASEHOOK releaseHook = nullptr;
  int nativeCalls = 0;              // native functions running on this VM
  size_t threadEntryFrames = 0;     // index of the frame a thread call began with
  size_t threadTrapBase = 0;
  int runDepth = 0;                 // interpreter runs active on this VM
  uint16_t suspendTarget = sqvm::kNoReg;
  bool suspendRequested = false;
  bool isMain = false;
  bool raiseError = false;     // the running sq_call wants uncaught errors reported
  bool errorReported = false;  // the current error already went to the error handler
  bool inDebugHook = false;    // the debug hook is running (it gets no events of its own)
  size_t maxFrames = 0;        // frames are reserved up front so frame pointers stay valid

  SQVM(sqvm::SharedState* state, int64_t capacity, size_t frameLimit);
  ~SQVM() override;

  Value& at(int64_t index) { return stack[index]; }
  void push(const Value& v) { stack[top++] = v; }
  bool hasRoom(int64_t n) const { return top + n <= stackCapacity; }
  void traverse(sqvm::Collector& gc) override;
  void finalize(sqvm::SharedState& state) override;
  size_t footprint() const override;
};
