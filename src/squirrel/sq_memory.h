// Memory accounting for the collector. Every allocation an object owns (its header, a string's
// characters, the storage of arrays, tables, class members and instance fields, closures' outer
// values and defaults, blobs) is counted as it is made, and the count since the last collection
// is what triggers the next one. After a collection the live size is the sum of the survivors'
// footprints; the next collection comes when as much again was allocated, so the heap stays
// within about twice the live data (plus a small floor).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <vellum/squirrel.h>

namespace sqvm {

// Bytes allocated so far by every VM group of the process; it only grows. A VM group reads the
// difference since its last collection, so allocations of another group at most bring a
// collection forward.
inline std::atomic<uint64_t> storageAllocated{0};
inline void noteAllocation(size_t bytes) { storageAllocated.fetch_add(bytes, std::memory_order_relaxed); }

// The allocator of the containers inside collectable objects: it counts what it hands out.
template <class T>
struct StorageAllocator {
  using value_type = T;
  StorageAllocator() = default;
  template <class U>
  StorageAllocator(const StorageAllocator<U>&) {}
  T* allocate(size_t n) {
    noteAllocation(n * sizeof(T));
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, size_t n) { std::allocator<T>().deallocate(p, n); }
  template <class U>
  bool operator==(const StorageAllocator<U>&) const { return true; }
};
template <class T>
using StorageVector = std::vector<T, StorageAllocator<T>>;

// The smallest allocation volume between two collections.
constexpr size_t kMinimumCollectBytes = 4u << 20;

struct MemoryUse {
  size_t liveBytes;  // footprint of the objects that survived the last collection
  size_t heapBytes;  // live bytes plus everything allocated since
  size_t peakBytes;  // the largest heapBytes seen at the collector's safe points
};
MemoryUse memoryUse(HSQUIRRELVM v);

}  // namespace sqvm
