// The sound subsystem's lifetime: sd_create opens the device, shutdown releases every channel and
// closes the device (completing an --audio-out recording), reset gives tests a clean state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

// Opens the device once; false after reporting when it cannot be opened.
bool createSound();
void shutdownSound();
void resetSound();

// `sd`: load and play at once, or queue the start when delay > 0. -1 when the file cannot be loaded.
int startSound(int channel, std::string_view name, int32_t fadeIn, int32_t delay, int32_t volume, int32_t pan,
               int32_t loops, int64_t start);
// `sd_stop`: stop now (fade < 2 at once, else faded) or queue the stop when delay > 0.
void stopSound(int channel, int32_t fade, int32_t delay);
// `sd_status`: 0 while a delayed request waits, else 0 playing, 1 paused, 2 stopped.
int soundStatus(int channel);

// Starts and stops the requests `sd` and `sd_stop` queued with a delay once they are due. Called
// once a frame by the engine's frame hooks.
void processDelayedSounds(uint32_t now);
// Whether a delayed request waits on the channel; on any channel.
bool delayedSoundPending(int channel);
bool delayedSoundsQueued();
void clearDelayedSounds();
// A start that `sd` queued with a delay: what a save records of it. False when none waits.
struct PendingSoundStart {
  std::string name;
  int32_t volume = 100, pan = 0, loops = 0;
  int64_t start = 0;
  uint32_t due = 0;  // tick of the start
  int32_t fadeIn = 0;
};
bool pendingSoundStart(int channel, PendingSoundStart& start);

// Registers the sd_ commands.
void provideSoundCommands();

}  // namespace vellum
