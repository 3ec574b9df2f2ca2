// Hash tables: open addressing with linear probing over a power-of-two slot array. Removed keys
// leave a tombstone so that a foreach in progress keeps its position; iteration walks the slots.
#pragma once

#include "squirrel/sq_gc_object.h"

struct SQTable final : SQGCObject {
  struct Slot {
    Value key;  // _type 0: never used; kTombstone: removed
    Value value;
  };
  static constexpr uint32_t kEmpty = 0;
  static constexpr uint32_t kTombstone = 1;

  Slot* slots = nullptr;
  uint32_t capacity = 0;  // 0 or a power of two
  uint32_t used = 0;      // live keys plus tombstones
  uint32_t count = 0;     // live keys
  SQTable* delegate = nullptr;

  explicit SQTable(uint32_t initialCapacity = 0);
  ~SQTable() override;

  Value* find(const Value& key);
  bool get(const Value& key, Value& out) {
    Value* v = find(key);
    if (!v) return false;
    out = *v;
    return true;
  }
  // Inserts or replaces; returns true when the key was new.
  bool set(const Value& key, const Value& value);
  bool remove(const Value& key, Value* old);
  void clear();
  // Iteration: start with 0; returns the next position or -1 at the end.
  int64_t next(int64_t position, Value& key, Value& value) const;
  void copyFrom(const SQTable& other);

  void traverse(sqvm::Collector& gc) override;
  size_t footprint() const override;

 private:
  void rehash(uint32_t newCapacity);
};
