// SIGINT and SIGTERM ask the engine to quit the way the window system's quit message does: the
// next message pump sees it, the interpreter stops, and shutdown still writes the settings.
#pragma once

namespace vellum {

void installQuitSignals();

// Whether a quit was asked for (by a signal or requestQuit).
bool quitRequested();
void requestQuit();
void clearQuitRequest();

}  // namespace vellum
