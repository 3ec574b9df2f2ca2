// Strings: immutable, interned per VM group (equal contents are the same object), with the hash
// computed once. The characters follow the header and are NUL-terminated for the C API.
#pragma once

#include <string_view>
#include <vector>

#include "squirrel/sq_gc_object.h"

struct SQString final : SQGCObject {
  SQString* internNext = nullptr;
  SQHash hash = 0;
  SQInteger length = 0;

  char* chars() { return reinterpret_cast<char*>(this + 1); }
  const char* chars() const { return reinterpret_cast<const char*>(this + 1); }
  std::string_view view() const { return {chars(), static_cast<size_t>(length)}; }

  void traverse(sqvm::Collector&) override {}
  void finalize(sqvm::SharedState& state) override;
  void destroy() override;
  size_t footprint() const override { return sizeof(*this) + static_cast<size_t>(length) + 1; }
};

namespace sqvm {

SQHash hashBytes(const char* s, size_t n);
SQHash hashPieces(const char* a, size_t an, const char* b, size_t bn);

// The intern table of a VM group.
class StringTable {
 public:
  StringTable();
  SQString* intern(SharedState& state, const char* s, size_t n) { return intern(state, s, n, nullptr, 0); }
  // Interns the concatenation of two pieces without building it first.
  SQString* intern(SharedState& state, const char* a, size_t an, const char* b, size_t bn);
  void remove(SQString* s);
  size_t size() const { return count_; }

 private:
  void grow();
  std::vector<SQString*> buckets_;
  size_t count_ = 0;
};

}  // namespace sqvm
