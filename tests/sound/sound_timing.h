// Whether this build keeps to real-time timings. Under ThreadSanitizer every thread runs several
// times slower, so the threaded suites there check what happens but not how soon.
#pragma once

namespace vellum::test {

#if defined(__SANITIZE_THREAD__)
constexpr bool kTimingChecked = false;
#else
constexpr bool kTimingChecked = true;
#endif

}  // namespace vellum::test
