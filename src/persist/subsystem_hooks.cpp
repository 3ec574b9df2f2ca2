#include "persist/subsystem_hooks.h"

namespace vellum {

void applyChannelVolumes() {}

}  // namespace vellum
