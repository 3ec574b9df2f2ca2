// The one entry point of input: translated SDL events and replayed input are posted here, and the
// shell's pumps take them out one at a time. Posting keeps the state the system would keep for
// the engine to ask about at any time: the pointer's client position and which keys and mouse
// buttons are held.
#pragma once

#include <cstdint>

#include "platform/window_message.h"

namespace vellum {

// Queues a message. Key messages become system-key messages while Alt is held (and for Alt
// itself and F10), as the Windows numbers scripts expect.
void postWindowMessage(WindowMessage message);

// The next message: a quit request first, then what was posted, then SDL's pending events
// translated. False when nothing is pending.
bool takeWindowMessage(WindowMessage& out);

// Whether messages posted by the input replay are waiting to be taken.
bool replayedMessagesWaiting();

// Blocks until the window system has an event for us or timeoutMs have passed; returns at once when
// a message is already queued. Without a window nothing can arrive, so it sleeps the time.
void waitForWindowMessage(uint32_t timeoutMs);

// Whether the key (a virtual-key number, generic or sided; 1, 2, 4, 5, 6 the mouse buttons) is
// held down now.
bool keyHeld(int vk);

// Forgets that a key is held, with no message for it (a pad's direction: its release means nothing
// to the game).
void releaseHeldKey(int vk);

// The pointer in client pixels of the main window, as the last movement left it.
void pointerPosition(int& x, int& y);
void setPointerPosition(int x, int y);

// Forgets every queued message and held key (tests, shutdown).
void resetMessageQueue();

}  // namespace vellum
