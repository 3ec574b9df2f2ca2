#include "shell/input/mode_keys.h"

#include "script/read_mode.h"

namespace vellum {

void toggleAutoMode() { setAutoMode(2); }
void toggleSkipMode() { setSkipMode(2); }

}  // namespace vellum
