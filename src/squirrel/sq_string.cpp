#include "squirrel/sq_string.h"

#include <new>

#include "squirrel/sq_shared_state.h"

namespace sqvm {

// FNV-1a; long strings are sampled so hashing stays cheap when scripts build big texts.
SQHash hashBytes(const char* s, size_t n) {
  uint64_t h = 14695981039346656037ull ^ n;
  const size_t step = (n >> 6) + 1;
  for (size_t i = 0; i < n; i += step) {
    h ^= static_cast<unsigned char>(s[i]);
    h *= 1099511628211ull;
  }
  return h;
}

SQHash hashPieces(const char* a, size_t an, const char* b, size_t bn) {
  const size_t n = an + bn;
  uint64_t h = 14695981039346656037ull ^ n;
  const size_t step = (n >> 6) + 1;
  size_t i = 0;
  for (; i < an; i += step) {
    h ^= static_cast<unsigned char>(a[i]);
    h *= 1099511628211ull;
  }
  for (; i < n; i += step) {
    h ^= static_cast<unsigned char>(b[i - an]);
    h *= 1099511628211ull;
  }
  return h;
}

StringTable::StringTable() : buckets_(256, nullptr) {}

SQString* StringTable::intern(SharedState& state, const char* a, size_t an, const char* b, size_t bn) {
  const size_t n = an + bn;
  const SQHash h = hashPieces(a, an, b, bn);
  const size_t mask = buckets_.size() - 1;
  for (SQString* it = buckets_[h & mask]; it; it = it->internNext) {
    if (it->hash == h && static_cast<size_t>(it->length) == n && (an == 0 || std::memcmp(it->chars(), a, an) == 0) &&
        (bn == 0 || std::memcmp(it->chars() + an, b, bn) == 0))
      return it;
  }
  void* memory = ::operator new(sizeof(SQString) + n + 1);
  SQString* str = new (memory) SQString();
  str->hash = h;
  str->length = static_cast<SQInteger>(n);
  if (an) std::memcpy(str->chars(), a, an);
  if (bn) std::memcpy(str->chars() + an, b, bn);
  str->chars()[n] = '\0';
  str->internNext = buckets_[h & mask];
  buckets_[h & mask] = str;
  ++count_;
  state.link(str);
  if (count_ > buckets_.size()) grow();
  return str;
}

void StringTable::remove(SQString* s) {
  SQString** link = &buckets_[s->hash & (buckets_.size() - 1)];
  while (*link) {
    if (*link == s) {
      *link = s->internNext;
      --count_;
      return;
    }
    link = &(*link)->internNext;
  }
}

void StringTable::grow() {
  std::vector<SQString*> bigger(buckets_.size() * 2, nullptr);
  const size_t mask = bigger.size() - 1;
  for (SQString* head : buckets_) {
    while (head) {
      SQString* next = head->internNext;
      head->internNext = bigger[head->hash & mask];
      bigger[head->hash & mask] = head;
      head = next;
    }
  }
  buckets_.swap(bigger);
}

}  // namespace sqvm

void SQString::finalize(sqvm::SharedState& state) {
  if (!state.closing) state.strings.remove(this);
}

void SQString::destroy() {
  this->~SQString();
  ::operator delete(this);
}
