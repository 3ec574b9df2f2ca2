// Calls from the configuration code into subsystems that are not part of the engine yet. Each is a
// no-op here; the subsystem that owns the work fills in the body when it lands.
#pragma once

namespace vellum {

// Sound: re-applies the volume and mute of every category to the channels.
void applyChannelVolumes();
// The sound layer's slot for the call above.
void setChannelVolumesHook(void (*hook)());

// Sound: after the configuration is read, re-applies every category's settings to the channels
// and puts music and effects back at their normal volume 2.
void applySettingsReadToSound();
void setSettingsReadHook(void (*hook)());

// Input (the shell's custom cursor): loads the mouse cursor named by the CursorFile setting (an
// empty name means the default).
void loadSettingsCursor();

}  // namespace vellum
