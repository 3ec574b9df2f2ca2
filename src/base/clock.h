// The engine's millisecond clock (wraps like a 32-bit tick counter).
#pragma once

#include <cstdint>

namespace vellum {

uint32_t tickMilliseconds();

}  // namespace vellum
