#include "platform/quit_signals.h"

#include <csignal>

namespace vellum {

namespace {

volatile std::sig_atomic_t quitSignalled = 0;

extern "C" void onQuitSignal(int) { quitSignalled = 1; }

}  // namespace

void installQuitSignals() {
  struct sigaction action {};
  action.sa_handler = &onQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool quitRequested() { return quitSignalled != 0; }
void requestQuit() { quitSignalled = 1; }
void clearQuitRequest() { quitSignalled = 0; }

}  // namespace vellum
