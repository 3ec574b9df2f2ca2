// 16-byte-aligned blocks: the load buffers handed to loadFile and the conversion results given to
// plug-ins. All are released with freeAligned (exported as freeMemory).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

void* allocAligned(size_t size);  // nullptr when the block cannot be allocated
void freeAligned(void* block);

// Makes sure *buffer holds at least `need` bytes. A too small buffer is freed and replaced by a new
// block of exactly `need` bytes; on allocation failure *buffer is null and *capacity 0.
bool ensureCapacity(uint8_t*& buffer, uint32_t& capacity, uint32_t need);

}  // namespace vellum
