// Integer -> text into the caller's buffer. Negative numbers print "-" and their magnitude, taken
// in unsigned arithmetic so the most negative value needs no special case.
#include "services/digits.h"
#include "vellum/exports.h"

namespace {

template <typename Signed, typename Unsigned>
char* writeSigned(Signed value, char* buffer) {
  char* out = buffer;
  Unsigned magnitude = static_cast<Unsigned>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = static_cast<Unsigned>(0) - magnitude;
  }
  vellum::writeUnsigned<Unsigned>(magnitude, 10, out);
  return buffer;
}

char* write32(uint32_t value, uint32_t base, char* buffer) {
  vellum::writeUnsigned<uint32_t>(value, base, buffer);
  return buffer;
}

char* write64(uint64_t value, uint64_t base, char* buffer) {
  vellum::writeUnsigned<uint64_t>(value, base, buffer);
  return buffer;
}

}  // namespace

char* itoa10(int32_t value, char* buffer) { return writeSigned<int32_t, uint32_t>(value, buffer); }
char* itoa16(uint32_t value, char* buffer) { return write32(value, 16, buffer); }
char* itoa32(uint32_t value, char* buffer) { return write32(value, 32, buffer); }
char* ultoa10(uint32_t value, char* buffer) { return write32(value, 10, buffer); }
char* ttoa10(uint32_t value, char* buffer) { return ultoa10(value, buffer); }
char* lltoa10(int64_t value, char* buffer) { return writeSigned<int64_t, uint64_t>(value, buffer); }
char* ulltoa10(uint64_t value, char* buffer) { return write64(value, 10, buffer); }
char* ulltoa16(uint64_t value, char* buffer) { return write64(value, 16, buffer); }
char* ulltoa32(uint64_t value, char* buffer) { return write64(value, 32, buffer); }
