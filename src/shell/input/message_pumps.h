// The two message pumps the engine calls while it waits: one message at a time, and the timed wait
// of screen transitions. The message last taken stays the input loop's current message until the
// next one replaces it, as the window system's own message record does.
#pragma once

#include <cstdint>

#include "platform/window_message.h"

namespace vellum {

enum class PumpResult { Quit, Taken, Nothing };

// Takes one message, lets the window procedure handle it and makes it current. Also advances the
// cursor glide and the cursor animation. Quit: a quit message was taken (the caller sets QuitFlag).
PumpResult pumpOneMessage();

// The message the input loop examines, and whether it has been examined yet.
WindowMessage& currentMessage();
bool currentMessageFresh();
void markCurrentMessageExamined();
// Clears the current message so that no one examines it again.
void clearCurrentMessage();

// Pumps and presents until durationMs have passed, a close request is pending, a quit message came
// (QuitFlag set) or, with EffectCancel, a click, Enter, Ctrl or a wheel notch toward the player.
void timedWait(int effectId, int durationMs, int extra);

void resetMessagePumps();

}  // namespace vellum
