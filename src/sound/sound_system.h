// The sound subsystem's lifetime: sd_create opens the device, shutdown releases every channel and
// closes the device (completing an --audio-out recording), reset gives tests a clean state.
#pragma once

#include <cstdint>

namespace vellum {

// Opens the device once; false after reporting when it cannot be opened.
bool createSound();
void shutdownSound();
void resetSound();

// Starts and stops the requests `sd` and `sd_stop` queued with a delay once they are due. Called
// once a frame by the scene's frame update.
void processDelayedSounds(uint32_t now);
// Whether a delayed request waits on the channel.
bool delayedSoundPending(int channel);
void clearDelayedSounds();

// Registers the sd_ commands.
void provideSoundCommands();

}  // namespace vellum
