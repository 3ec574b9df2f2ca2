// The word a movie or frame-file worker shares with the main thread: 1 start asked, 2 running,
// 0 stop asked, -1 ended; with a wake-up for a worker that sleeps between frames, so that a stop
// request is answered at once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace vellum {

class WorkerState {
 public:
  int32_t load() const { return word_.load(); }
  void store(int32_t value) { word_.store(value); }

  // The worker's first step: 1 becomes 2 (a stop asked before it ran stays 0).
  void beginRunning() {
    int32_t asked = 1;
    word_.compare_exchange_strong(asked, 2);
  }

  // The main thread: a started worker (1 or 2) is asked to stop and woken.
  void askToStop() {
    int32_t running = word_.load();
    while (running > 0 && !word_.compare_exchange_weak(running, 0)) {
    }
    { std::lock_guard<std::mutex> hold(wakeLock_); }
    wake_.notify_all();
  }

  // The worker: sleeps up to `ms`, returning early when a stop is asked.
  void nap(uint32_t ms) {
    std::unique_lock<std::mutex> hold(wakeLock_);
    wake_.wait_for(hold, std::chrono::milliseconds(ms), [this] { return word_.load() == 0; });
  }

 private:
  std::atomic<int32_t> word_{1};
  std::mutex wakeLock_;
  std::condition_variable wake_;
};

// Starts `run` on a thread of its own; false when the system has no thread to give.
template <typename Run>
bool startWorkerThread(std::thread& thread, Run run) {
  try {
    thread = std::thread(std::move(run));
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

}  // namespace vellum
