#include "platform/quit_signals.h"

#include <sys/time.h>

#include <csignal>

#include "base/engine_state.h"

namespace vellum {

namespace {

volatile std::sig_atomic_t quitSignalled = 0;

// Async-signal-safe: a sig_atomic_t store and a lock-free atomic store.
extern "C" void onQuitSignal(int) {
  quitSignalled = 1;
  engine().quitFlag = 1;
}

void handle(int number) {
  struct sigaction action {};
  action.sa_handler = &onQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(number, &action, nullptr);
}

void setAlarm(uint32_t delayMs) {
  itimerval timer{};
  timer.it_value.tv_sec = static_cast<time_t>(delayMs / 1000);
  timer.it_value.tv_usec = static_cast<suseconds_t>(delayMs % 1000) * 1000;
  setitimer(ITIMER_REAL, &timer, nullptr);
}

}  // namespace

void installQuitSignals() {
  handle(SIGINT);
  handle(SIGTERM);
  handle(SIGHUP);
}

bool quitRequested() { return quitSignalled != 0; }

void requestQuit() {
  quitSignalled = 1;
  engine().quitFlag = 1;
}

void clearQuitRequest() {
  cancelScheduledQuit();
  quitSignalled = 0;
}

void scheduleQuit(uint32_t delayMs) {
  handle(SIGALRM);
  // A zero timer value disarms it; the earliest moment is a millisecond away.
  setAlarm(delayMs > 0 ? delayMs : 1);
}

void cancelScheduledQuit() { setAlarm(0); }

}  // namespace vellum
