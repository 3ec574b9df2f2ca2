#include "storage/zlib_buffer.h"

#include <libdeflate.h>

#include <memory>

namespace vellum {

namespace {

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// One per thread (loads run on the look-ahead thread too), made on first use; it is a few tens of
// kilobytes.
libdeflate_decompressor* decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> d(libdeflate_alloc_decompressor());
  return d.get();
}

}  // namespace

InflateStatus inflateZlib(const uint8_t* in, size_t inSize, uint8_t* out, size_t capacity, size_t& produced) {
  produced = 0;
  libdeflate_decompressor* d = decompressor();
  if (!d) return InflateStatus::Damaged;
  // libdeflate wants somewhere to write even when nothing is expected.
  uint8_t spare = 0;
  size_t consumed = 0;
  const libdeflate_result r =
      libdeflate_zlib_decompress_ex(d, in, inSize, capacity ? out : &spare, capacity, &consumed, &produced);
  if (r == LIBDEFLATE_SUCCESS) return InflateStatus::Ok;
  produced = 0;
  return r == LIBDEFLATE_INSUFFICIENT_SPACE ? InflateStatus::TooLong : InflateStatus::Damaged;
}

}  // namespace vellum
