#include "persist/subsystem_hooks.h"

namespace vellum {

void applyChannelVolumes() {}

void loadSettingsCursor() {}

}  // namespace vellum
