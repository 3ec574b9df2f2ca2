// Play time: this run's seconds plus those carried over from earlier runs.
#pragma once

#include <cstdint>

namespace vellum {

// Seconds played before this run: the TotalTime setting, read with the settings file (0 until then)
// and written back with this run's seconds added.
uint32_t& carriedPlaySeconds();

// (now - start of the main loop) / 1000 + carriedPlaySeconds().
uint32_t totalPlaySeconds();

void providePlayTimeCommand();

}  // namespace vellum
