// A millisecond clock the tests move by hand, installed with setTickSource(&fakeClock). Atomic:
// the movie and sound workers read the clock on threads of their own.
#pragma once

#include <atomic>
#include <cstdint>

namespace vellum::test {

inline std::atomic<uint32_t> fakeNow{0};
inline uint32_t fakeClock() { return fakeNow.load(); }

}  // namespace vellum::test
