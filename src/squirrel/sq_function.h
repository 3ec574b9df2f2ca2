// Compiled functions, script closures, free-variable cells and native closures.
#pragma once

#include <vector>

#include "squirrel/sq_gc_object.h"
#include "squirrel/sq_memory.h"
#include "squirrel/sq_opcodes.h"

struct SQFunctionProto final : SQGCObject {
  struct OuterInfo {
    bool fromParentLocal;  // the parent's register, else the parent's own outer
    uint16_t index;
    SQString* name;
  };
  struct LocalInfo {
    SQString* name;
    uint32_t startPc, endPc;
    uint16_t reg;
  };
  struct LineInfo {
    uint32_t pc;
    int32_t line;
  };

  std::vector<sqvm::Instr> code;
  std::vector<Value> constants;
  std::vector<SQFunctionProto*> children;
  std::vector<OuterInfo> outers;
  std::vector<LocalInfo> locals;
  std::vector<LineInfo> lines;
  std::vector<SQString*> parameterNames;  // without this
  SQString* name = nullptr;
  SQString* source = nullptr;
  uint16_t nparams = 1;  // including this
  uint16_t ndefaults = 0;
  uint16_t maxStack = 1;
  bool varargs = false;
  bool generator = false;
  int32_t firstLine = 0;

  int32_t lineAt(size_t pc) const;
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};

// A captured variable: points at its stack slot while the frame lives, then at its own copy.
struct SQOuter final : SQGCObject {
  Value* valuePtr = nullptr;
  Value closed;
  SQOuter* nextOpen = nullptr;
  int64_t stackIndex = 0;
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};

struct SQClosure final : SQGCObject {
  SQFunctionProto* proto = nullptr;
  sqvm::StorageVector<SQOuter*> outers;
  sqvm::StorageVector<Value> defaults;
  Value env = sqvm::nullValue();   // a weak reference when bound with bindenv
  Value root = sqvm::nullValue();  // the root table used for global names (null: the VM's)
  SQClass* base = nullptr;         // for `base` in methods
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};

struct SQNativeClosure final : SQGCObject {
  SQFUNCTION function = nullptr;
  sqvm::StorageVector<Value> outers;
  SQInteger paramsCheck = 0;
  std::vector<uint32_t> typeMasks;  // per parameter, 0 = any
  Value name = sqvm::nullValue();
  Value env = sqvm::nullValue();
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};
