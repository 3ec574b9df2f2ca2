// Whole zlib streams in memory, inflated in one call with libdeflate (several times faster than
// zlib's uncompress on the same bytes). Writing stays with zlib's compress2: libdeflate makes other
// (valid) streams, and the files the engine writes keep their exact bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

enum class InflateStatus {
  Ok,
  Damaged,   // not a zlib stream, or its data or check sum is wrong
  TooLong,   // the stream holds more than `capacity` bytes
};

// Inflates the zlib stream at the start of `in` into `out` (up to `capacity` bytes); `produced`
// gets what it held. As with zlib's uncompress, bytes after the stream's end are ignored and a
// stream shorter than `capacity` is fine.
InflateStatus inflateZlib(const uint8_t* in, size_t inSize, uint8_t* out, size_t capacity, size_t& produced);

}  // namespace vellum
