// The engine's own interface inside the game's window: the menu bar (fixed at the top or shown
// as the popup at the top edge), the find dialog, and the start-up settings dialog's loop. The
// models come from menu_model and settings_dialog_model; the platform's kit draws them.
#pragma once

#include "platform/window_message.h"

namespace vellum {

// The window procedure's first step: a message the interface takes (the pointer over the bar or
// an open menu, input for the find dialog) is consumed here, one frame is drawn for it, and the
// item it chose runs. True when the message was taken.
bool routeMessageToInterface(WindowMessage& m);

// Whether the menu bar or the find dialog is on screen now.
bool interfaceShown();

// Draws the interface after a change the player did not make (a dialog opened by a script).
void refreshInterface();

// Forgets the interface's input and pending choices (tests, shutdown).
void resetInWindowUi();

}  // namespace vellum
