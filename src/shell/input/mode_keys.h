// The auto and skip switches of the Shift and Tab keys (the same as setAuto 2 and setSkip 2).
#pragma once

namespace vellum {

void toggleAutoMode();
void toggleSkipMode();

}  // namespace vellum
