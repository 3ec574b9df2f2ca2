// Waiting for what another thread or process brings about: the condition is checked about every
// millisecond until it holds or the deadline passes. The deadline is generous, a bound that only
// keeps a broken engine from hanging the suite, never a measure of speed.
#pragma once

#include <chrono>
#include <thread>

namespace vellum::test {

inline constexpr int kGenerousWaitMs = 10000;

template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = kGenerousWaitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace vellum::test
