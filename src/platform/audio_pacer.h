// Keeps a mixer to the clock when the audio driver has none of its own (SDL's dummy driver sleeps
// a rounded-up time after each period, so it falls behind real time): a thread of ours mixes
// period n when it falls due at start + n × period on the monotonic clock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vellum {

class AudioPacer {
 public:
  using Clock = std::chrono::steady_clock;
  // Further behind than this (a stopped process, a machine that stalled) the periods missed are
  // dropped and the schedule starts again from now; up to it they are mixed back to back.
  static constexpr std::chrono::milliseconds kMaxCatchUp{1000};

  // Starts the thread; `mixPeriod` is called on it once per `period`, the first time at once.
  AudioPacer(std::chrono::nanoseconds period, std::function<void()> mixPeriod);
  // Stops the thread and waits for it (a period being mixed is finished first).
  ~AudioPacer();
  AudioPacer(const AudioPacer&) = delete;
  AudioPacer& operator=(const AudioPacer&) = delete;

 private:
  void run();

  const std::chrono::nanoseconds period_;
  const std::function<void()> mixPeriod_;
  std::mutex mutex_;  // guards stopping_
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;  // last: started once everything above is set
};

}  // namespace vellum
