#include "persist/subsystem_hooks.h"

namespace vellum {

namespace {
// Filled by the sound layer when it registers its commands.
void (*channelVolumesHook)() = nullptr;
void (*settingsReadHook)() = nullptr;
}  // namespace

void setSettingsReadHook(void (*hook)()) { settingsReadHook = hook; }

void applySettingsReadToSound() {
  if (settingsReadHook) settingsReadHook();
}

void setChannelVolumesHook(void (*hook)()) { channelVolumesHook = hook; }

void applyChannelVolumes() {
  if (channelVolumesHook) channelVolumesHook();
}

}  // namespace vellum
