// Calls from the configuration code into subsystems that are not part of the engine yet. Each is a
// no-op here; the subsystem that owns the work fills in the body when it lands.
#pragma once

namespace vellum {

// Sound: re-applies the volume and mute of every category to the channels.
void applyChannelVolumes();
// The sound layer's slot for the call above.
void setChannelVolumesHook(void (*hook)());

// Input (the shell's custom cursor): loads the mouse cursor named by the CursorFile setting (an
// empty name means the default).
void loadSettingsCursor();

}  // namespace vellum
