#include "base/clock.h"

#include <chrono>

namespace vellum {

uint32_t tickMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace vellum
