#include "storage/aligned_memory.h"

#include <cstdlib>

namespace vellum {

void* allocAligned(size_t size) {
  // aligned_alloc wants a multiple of the alignment; round up (and never ask for 0 bytes).
  const size_t rounded = ((size ? size : 1) + 15) & ~static_cast<size_t>(15);
  return std::aligned_alloc(16, rounded);
}

void freeAligned(void* block) { std::free(block); }

bool ensureCapacity(uint8_t*& buffer, uint32_t& capacity, uint32_t need) {
  if (buffer && capacity >= need) return true;
  freeAligned(buffer);
  buffer = static_cast<uint8_t*>(allocAligned(need));
  capacity = buffer ? need : 0;
  return buffer != nullptr;
}

}  // namespace vellum
