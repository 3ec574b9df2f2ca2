// The blob library: a growable byte buffer that is a stream and an array of bytes, and the number
// casts and byte swaps.
#include <vellum/squirrel_std.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "squirrel/sq_memory.h"
#include "squirrel/stdlib/bit_cast.h"
#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/number_arguments.h"
#include "squirrel/stdlib/stream.h"

namespace vellum::sqstd {

namespace {

// A script asking for more than this gets an error instead of exhausting memory.
constexpr int64_t kLargestBlob = int64_t{1} << 30;

// The bytes count toward the collector's allocation volume like any container storage.
using Bytes = sqvm::StorageVector<unsigned char>;

class Blob final : public Stream {
 public:
  explicit Blob(size_t size) : bytes_(size, 0) {}

  size_t read(void* buffer, size_t size) override {
    const size_t n = std::min(size, bytes_.size() - position_);
    if (n) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }

  size_t write(const void* buffer, size_t size) override {
    if (size == 0) return 0;
    if (position_ + size > static_cast<size_t>(kLargestBlob)) return 0;
    try {
      if (position_ + size > bytes_.size()) bytes_.resize(position_ + size);
    } catch (const std::bad_alloc&) {
      return 0;
    }
    std::memcpy(bytes_.data() + position_, buffer, size);
    position_ += size;
    return size;
  }

  bool seek(int64_t offset, Origin origin) override {
    const int64_t base = origin == Origin::Begin ? 0 : origin == Origin::Current ? tell() : length();
    const int64_t target = base + offset;
    if (target < 0 || target > length()) return false;
    position_ = static_cast<size_t>(target);
    return true;
  }

  int64_t tell() override { return static_cast<int64_t>(position_); }
  int64_t length() override { return static_cast<int64_t>(bytes_.size()); }
  bool atEnd() override { return position_ >= bytes_.size(); }
  bool flush() override { return true; }

  bool resize(size_t size) {
    try {
      bytes_.resize(size, 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    position_ = std::min(position_, size);
    return true;
  }

  Bytes& bytes() { return bytes_; }

 private:
  Bytes bytes_;
  size_t position_ = 0;
};

Blob* blobAt(HSQUIRRELVM v, SQInteger index) { return static_cast<Blob*>(instanceData(v, index, &kBlobTag)); }

#define SELF_BLOB(v)              \
  Blob* self = blobAt(v, 1);      \
  if (!self) return throwError(v, "invalid blob")

SQInteger releaseBlob(SQUserPointer data, SQInteger) {
  delete static_cast<Blob*>(data);
  return 1;
}

// Gives the instance at index 1 its buffer.
SQInteger adopt(HSQUIRRELVM v, Blob* blob) {
  if (SQ_FAILED(sq_setinstanceup(v, 1, blob))) {
    delete blob;
    return throwError(v, "cannot create blob");
  }
  sq_setreleasehook(v, 1, &releaseBlob);
  return 0;
}

SQInteger construct(HSQUIRRELVM v) {
  const SQInteger size = sq_gettop(v) > 1 ? integerArgument(v, 2) : 0;
  if (size < 0) return throwError(v, "cannot create blob with negative size");
  if (size > kLargestBlob) return throwError(v, "blob too large");
  if (blobAt(v, 1)) return throwError(v, "blob already constructed");
  Blob* blob = new (std::nothrow) Blob(0);
  if (!blob || !blob->resize(static_cast<size_t>(size))) {
    delete blob;
    return throwError(v, "not enough memory for the blob");
  }
  return adopt(v, blob);
}

SQInteger resize(HSQUIRRELVM v) {
  SELF_BLOB(v);
  const SQInteger size = integerArgument(v, 2);
  if (size < 0) return throwError(v, "negative size");
  if (size > kLargestBlob || !self->resize(static_cast<size_t>(size))) return throwError(v, "blob too large");
  return 0;
}

template <typename Word>
void swapWords(Bytes& bytes) {
  const size_t count = bytes.size() / sizeof(Word);
  for (size_t i = 0; i < count; ++i) {
    std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(i * sizeof(Word)),
                 bytes.begin() + static_cast<std::ptrdiff_t>((i + 1) * sizeof(Word)));
  }
}

SQInteger swap2Method(HSQUIRRELVM v) {
  SELF_BLOB(v);
  swapWords<uint16_t>(self->bytes());
  return 0;
}

SQInteger swap4Method(HSQUIRRELVM v) {
  SELF_BLOB(v);
  swapWords<uint32_t>(self->bytes());
  return 0;
}

// b[i] = value: the low byte of the value.
SQInteger setByte(HSQUIRRELVM v) {
  SELF_BLOB(v);
  if (sq_gettype(v, 2) != OT_INTEGER) return throwError(v, "blob index must be an integer");
  const SQInteger index = integerArgument(v, 2);
  if (index < 0 || index >= self->length()) return throwError(v, "index out of range");
  const SQInteger value = integerArgument(v, 3);
  self->bytes()[static_cast<size_t>(index)] = static_cast<unsigned char>(value & 0xFF);
  sq_push(v, 3);
  return 1;
}

SQInteger getByte(HSQUIRRELVM v) {
  SELF_BLOB(v);
  if (sq_gettype(v, 2) != OT_INTEGER) {
    // Not one of ours: the VM reports the missing member as usual.
    sq_pushnull(v);
    return sq_throwobject(v);
  }
  const SQInteger index = integerArgument(v, 2);
  if (index < 0 || index >= self->length()) return throwError(v, "index out of range");
  sq_pushinteger(v, self->bytes()[static_cast<size_t>(index)]);
  return 1;
}

SQInteger typeOf(HSQUIRRELVM v) {
  sq_pushstring(v, "blob", -1);
  return 1;
}

// foreach over a blob visits the byte indexes.
SQInteger nextIndex(HSQUIRRELVM v) {
  SELF_BLOB(v);
  SQInteger next = 0;
  if (sq_gettype(v, 2) != OT_NULL) next = integerArgument(v, 2) + 1;
  if (next < 0 || next >= self->length()) {
    sq_pushnull(v);
  } else {
    sq_pushinteger(v, next);
  }
  return 1;
}

SQInteger cloned(HSQUIRRELVM v) {
  Blob* original = blobAt(v, 2);
  if (!original) return throwError(v, "invalid blob");
  Blob* copy = new (std::nothrow) Blob(0);
  if (!copy || !copy->resize(original->bytes().size())) {
    delete copy;
    return throwError(v, "not enough memory for the blob");
  }
  copy->bytes() = original->bytes();
  return adopt(v, copy);
}

// ---- the global functions ----------------------------------------------------------------------

SQInteger castf2i(HSQUIRRELVM v) {
  const float f = static_cast<float>(floatArgument(v, 2));
  sq_pushinteger(v, bitCast<int32_t>(f));
  return 1;
}

SQInteger casti2f(HSQUIRRELVM v) {
  const auto bits = static_cast<int32_t>(integerArgument(v, 2));
  sq_pushfloat(v, static_cast<SQFloat>(bitCast<float>(bits)));
  return 1;
}

SQInteger swap2(HSQUIRRELVM v) {
  const auto word = static_cast<uint16_t>(integerArgument(v, 2));
  sq_pushinteger(v, static_cast<int16_t>(static_cast<uint16_t>((word >> 8) | (word << 8))));
  return 1;
}

uint32_t swapped(uint32_t word) {
  return (word >> 24) | ((word >> 8) & 0xFF00u) | ((word << 8) & 0xFF0000u) | (word << 24);
}

SQInteger swap4(HSQUIRRELVM v) {
  const auto word = static_cast<uint32_t>(integerArgument(v, 2));
  sq_pushinteger(v, static_cast<int32_t>(swapped(word)));
  return 1;
}

SQInteger swapfloat(HSQUIRRELVM v) {
  const auto bits = bitCast<uint32_t>(static_cast<float>(floatArgument(v, 2)));
  sq_pushfloat(v, static_cast<SQFloat>(bitCast<float>(swapped(bits))));
  return 1;
}

const Function kBlobMethods[] = {
    {"constructor", &construct, -1, "xn"}, {"resize", &resize, 2, "xn"},     {"swap2", &swap2Method, 1, "x"},
    {"swap4", &swap4Method, 1, "x"},       {"_set", &setByte, 3, "x.n"},     {"_get", &getByte, 2, "x."},
    {"_typeof", &typeOf, 1, "x"},          {"_nexti", &nextIndex, 2, "x."},  {"_cloned", &cloned, 2, "xx"},
};

const Function kBlobFunctions[] = {
    {"castf2i", &castf2i, 2, ".n"}, {"casti2f", &casti2f, 2, ".n"},     {"swap2", &swap2, 2, ".n"},
    {"swap4", &swap4, 2, ".n"},     {"swapfloat", &swapfloat, 2, ".n"},
};

}  // namespace

}  // namespace vellum::sqstd

using namespace vellum::sqstd;

extern "C" SQRESULT sqstd_register_bloblib(HSQUIRRELVM v) {
  if (sq_gettype(v, -1) != OT_TABLE) return sq_throwerror(v, "a table is expected on the stack");
  const SQInteger table = absoluteIndex(v, -1);
  sq_pushstring(v, "blob", -1);
  sq_newclass(v, SQFalse);
  sq_settypetag(v, -1, &kBlobTag);
  registerFunctions(v, -1, kBlobMethods);
  registerStreamMethods(v, -1);
  // Kept in the registry too, so sqstd_createblob finds the class whatever scripts do to theirs.
  sq_pushregistrytable(v);
  sq_pushstring(v, kBlobClassKey, -1);
  sq_push(v, -3);
  sq_newslot(v, -3, SQFalse);
  sq_poptop(v);
  sq_newslot(v, table, SQFalse);
  registerFunctions(v, table, kBlobFunctions);
  return SQ_OK;
}

extern "C" SQUserPointer sqstd_createblob(HSQUIRRELVM v, SQInteger size) {
  const SQInteger top = sq_gettop(v);
  sq_pushregistrytable(v);
  sq_pushstring(v, kBlobClassKey, -1);
  if (SQ_FAILED(sq_rawget(v, -2))) {
    sq_settop(v, top);
    return nullptr;
  }
  sq_remove(v, -2);  // the registry
  sq_pushroottable(v);  // the slot the new instance takes
  sq_pushinteger(v, size);
  if (SQ_FAILED(sq_call(v, 2, SQTrue, SQFalse))) {
    sq_settop(v, top);
    return nullptr;
  }
  sq_remove(v, -2);  // the class
  SQUserPointer payload = nullptr;
  if (SQ_FAILED(sqstd_getblob(v, -1, &payload))) {
    sq_settop(v, top);
    return nullptr;
  }
  return payload;
}

extern "C" SQRESULT sqstd_getblob(HSQUIRRELVM v, SQInteger idx, SQUserPointer* ptr) {
  Blob* blob = blobAt(v, idx);
  if (!blob) return sq_throwerror(v, "invalid type tag");
  if (ptr) *ptr = blob->bytes().data();
  return SQ_OK;
}

extern "C" SQInteger sqstd_getblobsize(HSQUIRRELVM v, SQInteger idx) {
  Blob* blob = blobAt(v, idx);
  return blob ? static_cast<SQInteger>(blob->bytes().size()) : -1;
}
