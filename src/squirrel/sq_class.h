// Classes and their instances. A class keeps a table from member name to a member reference;
// fields are copied into each instance, methods and statics live in the class.
#pragma once

#include <vector>

#include "squirrel/sq_gc_object.h"
#include "squirrel/sq_memory.h"

namespace sqvm {
enum Meta : int {
  MT_ADD, MT_SUB, MT_MUL, MT_DIV, MT_UNM, MT_MODULO, MT_SET, MT_GET, MT_TYPEOF, MT_NEXTI, MT_CMP,
  MT_CALL, MT_CLONED, MT_NEWSLOT, MT_DELSLOT, MT_TOSTRING, MT_NEWMEMBER, MT_INHERITED, MT_COUNT
};

// Member references stored in SQClass::members.
enum MemberKind : SQInteger { kField = 0, kMethod = 1, kStatic = 2 };
inline Value memberRef(MemberKind kind, size_t index) {
  return intValue(static_cast<SQInteger>(index << 2) | kind);
}
inline MemberKind memberKind(const Value& ref) { return static_cast<MemberKind>(ref._unVal.nInteger & 3); }
inline size_t memberIndex(const Value& ref) { return static_cast<size_t>(ref._unVal.nInteger >> 2); }
}  // namespace sqvm

struct SQClass final : SQGCObject {
  struct Member {
    Value value;
    Value attributes;
  };
  SQClass* base = nullptr;
  SQTable* members = nullptr;
  sqvm::StorageVector<Member> fields;
  sqvm::StorageVector<Member> methods;  // methods and statics
  Value attributes = sqvm::nullValue();
  Value metamethods[sqvm::MT_COUNT];
  Value constructor = sqvm::nullValue();
  bool locked = false;  // set by the first instance: no new fields afterwards
  SQUserPointer typetag = nullptr;
  SQRELEASEHOOK hook = nullptr;

  SQClass();
  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;
};

struct SQInstance final : SQGCObject {
  SQClass* cls = nullptr;
  sqvm::StorageVector<Value> fields;
  SQUserPointer up = nullptr;
  SQRELEASEHOOK hook = nullptr;

  void traverse(sqvm::Collector& gc) override;
  void finalize(sqvm::SharedState& state) override;
  size_t footprint() const override;
};
