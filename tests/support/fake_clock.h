// A millisecond clock the tests move by hand, installed with setTickSource(&fakeClock).
#pragma once

#include <cstdint>

namespace vellum::test {

inline uint32_t fakeNow = 0;
inline uint32_t fakeClock() { return fakeNow; }

}  // namespace vellum::test
