// Play time: this run's seconds plus those carried over from earlier runs.
#pragma once

#include <cstdint>

namespace vellum {

// Seconds played before this run (the TotalTime setting); the configuration stores it when it
// reads the settings file, and 0 until then.
uint32_t& carriedPlaySeconds();

// (now - start of the main loop) / 1000 + carriedPlaySeconds().
uint32_t totalPlaySeconds();

}  // namespace vellum
