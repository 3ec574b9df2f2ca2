// The engine's millisecond clock (wraps like a 32-bit tick counter).
#pragma once

#include <cstdint>

namespace vellum {

uint32_t tickMilliseconds();

// Replaces the clock's source (tests drive animations with a clock of their own); nullptr puts the
// real clock back.
void setTickSource(uint32_t (*source)());
// Whether a replaced source runs the clock: its times then say nothing about real time.
bool tickSourceReplaced();

}  // namespace vellum
