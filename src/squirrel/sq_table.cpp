#include "squirrel/sq_table.h"

#include <cstdlib>

#include "squirrel/sq_memory.h"
#include "squirrel/sq_shared_state.h"
#include "squirrel/sq_string.h"

namespace {

inline uint64_t hashKey(const Value& k) {
  if (k._type == OT_STRING) return k._unVal.pString->hash;
  uint64_t x = static_cast<uint64_t>(k._unVal.raw) ^ (static_cast<uint64_t>(k._type) << 40);
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  return x;
}

}  // namespace

SQTable::SQTable(uint32_t initialCapacity) {
  if (initialCapacity) {
    uint32_t cap = 4;
    while (cap < initialCapacity * 2) cap <<= 1;
    rehash(cap);
  }
}

SQTable::~SQTable() { std::free(slots); }

Value* SQTable::find(const Value& key) {
  if (!capacity) return nullptr;
  const uint32_t mask = capacity - 1;
  uint32_t i = static_cast<uint32_t>(hashKey(key)) & mask;
  for (;;) {
    Slot& s = slots[i];
    if (s.key._type == kEmpty) return nullptr;
    if (s.key._type == key._type && s.key._unVal.raw == key._unVal.raw) return &s.value;
    i = (i + 1) & mask;
  }
}

bool SQTable::set(const Value& key, const Value& value) {
  if ((used + 1) * 4 > capacity * 3) rehash(capacity == 0 ? 4 : (count + 1) * 4 > capacity * 2 ? capacity * 2 : capacity);
  const uint32_t mask = capacity - 1;
  uint32_t i = static_cast<uint32_t>(hashKey(key)) & mask;
  Slot* tomb = nullptr;
  for (;;) {
    Slot& s = slots[i];
    if (s.key._type == kEmpty) break;
    if (s.key._type == kTombstone) {
      if (!tomb) tomb = &s;
    } else if (s.key._type == key._type && s.key._unVal.raw == key._unVal.raw) {
      s.value = value;
      return false;
    }
    i = (i + 1) & mask;
  }
  Slot* target = tomb ? tomb : &slots[i];
  if (!tomb) ++used;
  target->key = key;
  target->value = value;
  ++count;
  return true;
}

bool SQTable::remove(const Value& key, Value* old) {
  Value* v = find(key);
  if (!v) return false;
  Slot* s = reinterpret_cast<Slot*>(reinterpret_cast<char*>(v) - offsetof(Slot, value));
  if (old) *old = s->value;
  s->key._type = static_cast<SQObjectType>(kTombstone);
  s->key._unVal.raw = 0;
  s->value = sqvm::nullValue();
  --count;
  return true;
}

void SQTable::clear() {
  std::free(slots);
  slots = nullptr;
  capacity = used = count = 0;
}

int64_t SQTable::next(int64_t position, Value& key, Value& value) const {
  for (int64_t i = position; i < capacity; ++i) {
    const Slot& s = slots[i];
    if (s.key._type > kTombstone) {
      key = s.key;
      value = s.value;
      return i + 1;
    }
  }
  return -1;
}

void SQTable::copyFrom(const SQTable& other) {
  clear();
  if (!other.capacity) return;
  rehash(other.capacity);
  for (uint32_t i = 0; i < other.capacity; ++i)
    if (other.slots[i].key._type > kTombstone) set(other.slots[i].key, other.slots[i].value);
}

void SQTable::rehash(uint32_t newCapacity) {
  Slot* old = slots;
  const uint32_t oldCapacity = capacity;
  slots = static_cast<Slot*>(std::calloc(newCapacity, sizeof(Slot)));
  if (!slots) std::abort();
  sqvm::noteAllocation(size_t{newCapacity} * sizeof(Slot));
  capacity = newCapacity;
  used = count = 0;
  for (uint32_t i = 0; i < oldCapacity; ++i)
    if (old[i].key._type > kTombstone) set(old[i].key, old[i].value);
  std::free(old);
}

void SQTable::traverse(sqvm::Collector& gc) {
  gc.mark(delegate);
  for (uint32_t i = 0; i < capacity; ++i) {
    if (slots[i].key._type > kTombstone) {
      gc.mark(slots[i].key);
      gc.mark(slots[i].value);
    }
  }
}
