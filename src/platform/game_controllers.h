// Game controllers through SDL's game-controller layer: every pad plugged in, before the game or
// while it runs, is opened, and its buttons, triggers and sticks become pad messages of the main
// window. Button names mean positions (A the bottom face button) on every kind of pad.
#pragma once

#include "platform/window_message.h"

union SDL_Event;

namespace vellum {

// Starts SDL's game-controller layer; the pads already plugged in arrive as connection events.
// Without it (no such subsystem) the game simply has no pads.
void startGameControllers();
// Closes every pad and the layer.
void stopGameControllers();

// One SDL controller event as a pad message. False for other events, for an axis that moved
// without crossing anything, and for a pad that could not be opened.
bool translateControllerEvent(const SDL_Event& e, WindowMessage& m);

}  // namespace vellum
