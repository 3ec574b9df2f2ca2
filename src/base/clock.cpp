#include "base/clock.h"

#include <chrono>

namespace vellum {

namespace {
uint32_t (*tickSource)() = nullptr;
}  // namespace

uint32_t tickMilliseconds() {
  if (tickSource) return tickSource();
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void setTickSource(uint32_t (*source)()) { tickSource = source; }

bool tickSourceReplaced() { return tickSource != nullptr; }

}  // namespace vellum
