#include "persist/subsystem_hooks.h"

namespace vellum {

namespace {
// Filled by the sound layer when it registers its commands.
void (*channelVolumesHook)() = nullptr;
}  // namespace

void setChannelVolumesHook(void (*hook)()) { channelVolumesHook = hook; }

void applyChannelVolumes() {
  if (channelVolumesHook) channelVolumesHook();
}

}  // namespace vellum
