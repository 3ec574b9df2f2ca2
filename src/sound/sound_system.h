// The sound subsystem's lifetime: sd_create opens the device, shutdown releases every channel and
// closes the device (completing an --audio-out recording), reset gives tests a clean state.
#pragma once

namespace vellum {

// Opens the device once; false after reporting when it cannot be opened.
bool createSound();
void shutdownSound();
void resetSound();

// Registers the sd_ commands.
void provideSoundCommands();

}  // namespace vellum
