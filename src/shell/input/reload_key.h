// The key that asks a run watching its script sources to reload them now (F5). The engine fills
// the handler while it watches; without one F5 reaches the game like any other key.
#pragma once

#include "platform/window_message.h"

namespace vellum {

using ReloadKeyHandler = void (*)();
void setReloadKeyHandler(ReloadKeyHandler handler);  // nullptr gives the key back to the game

// True when the message is the reload key's press or release and a handler is set; a press calls it.
bool takeReloadKey(const WindowMessage& message);

}  // namespace vellum
