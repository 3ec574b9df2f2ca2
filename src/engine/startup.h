// The engine's life: one-time initialisation, the interpreter loop, shutdown.
#pragma once

namespace vellum {

// Initialises the engine, runs the game's scripts and shuts down. Returns 1 after a normal end and
// 0 when start-up failed (no container, no start script, a label error).
int runMain();

// The pieces of runMain, for tests that drive the engine step by step.
bool initializeEngine();
void shutdownEngine();

// Empties every subsystem's state, as at process start.
void resetAllState();

}  // namespace vellum
