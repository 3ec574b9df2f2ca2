// Userdata (a block of host memory with an optional delegate and release hook) and weak references.
#pragma once

#include "squirrel/sq_gc_object.h"

struct SQUserData final : SQGCObject {
  SQUserPointer typetag = nullptr;
  SQRELEASEHOOK hook = nullptr;
  SQTable* delegate = nullptr;
  SQInteger size = 0;

  // The payload follows the header, aligned for any scalar.
  static size_t headerSize();
  SQUserPointer payload() { return reinterpret_cast<char*>(this) + headerSize(); }

  void traverse(sqvm::Collector& gc) override;
  void finalize(sqvm::SharedState& state) override;
  void destroy() override;
  size_t footprint() const override;
};

struct SQWeakRef final : SQGCObject {
  SQGCObject* target = nullptr;  // cleared when the target is collected
  SQObjectType targetType = OT_NULL;
  Value get() const { return target ? sqvm::objectValue(targetType, target) : sqvm::nullValue(); }
  void traverse(sqvm::Collector&) override {}
  size_t footprint() const override { return sizeof(*this); }
};
