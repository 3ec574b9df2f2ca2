// The process-wide Mersenne Twister behind rand, seeded with the calendar time in seconds while
// the program starts.
#pragma once

#include <random>

namespace vellum {

std::mt19937& scriptRandomGenerator();

}  // namespace vellum
