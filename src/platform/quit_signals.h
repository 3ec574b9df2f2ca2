// SIGINT, SIGTERM and SIGHUP (a service manager stopping the game, a desktop session logging out)
// end the game the orderly way: the handler sets the engine's quit flag directly, so the
// interpreter stops after the running command whatever the script is doing, waiting commands
// return within a frame, and shutdown still writes the settings. The window system's quit message
// (the next message pump) sees the request too.
#pragma once

#include <cstdint>

namespace vellum {

void installQuitSignals();

// Whether a quit was asked for (by a signal, a scheduled quit or requestQuit).
bool quitRequested();
// Asks for a quit as a signal does: the request and the engine's quit flag.
void requestQuit();
void clearQuitRequest();

// Asks for the quit after the delay, through SIGALRM, as if a signal came then (replayed input's
// `quit`: it must end the game even while no message pump runs). Replaces an earlier schedule.
void scheduleQuit(uint32_t delayMs);
void cancelScheduledQuit();

}  // namespace vellum
