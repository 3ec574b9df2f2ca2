#include "platform/audio_pacer.h"

#include <cstdint>
#include <utility>

namespace vellum {

AudioPacer::AudioPacer(std::chrono::nanoseconds period, std::function<void()> mixPeriod)
    : period_(period), mixPeriod_(std::move(mixPeriod)), thread_([this] { run(); }) {}

AudioPacer::~AudioPacer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void AudioPacer::run() {
  // The schedule: period n falls due at start + n × period. Counting periods from one start point,
  // rather than adding a period to each wake-up, keeps late wake-ups from adding up.
  Clock::time_point start = Clock::now();
  int64_t due = 0;
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const Clock::time_point dueAt = start + period_ * due;
    const Clock::time_point now = Clock::now();
    if (now < dueAt) {
      wake_.wait_until(lock, dueAt, [this] { return stopping_; });
      continue;
    }
    // Late: an oversleep or a busy spell is made up by mixing the missed periods back to back; a
    // long stall (the process was stopped, the machine hung) is not, the schedule starts again.
    if (now - dueAt > kMaxCatchUp) {
      start = now;
      due = 0;
    }
    lock.unlock();
    mixPeriod_();
    lock.lock();
    ++due;
  }
}

}  // namespace vellum
