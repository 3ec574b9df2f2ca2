// A pad's messages become the input the engine already has, so every game plays with a pad
// unchanged: directions are the arrow keys (button navigation with its gliding pointer), the
// confirming button a left click where the pointer is, and so on as the layout says (pad_mapping.h).
// A held direction or scroll repeats. The settings PadEnable, PadLayout, PadButtons, PadDeadZone,
// PadRepeatDelay and PadRepeatInterval are read as they are at each message.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window_message.h"

namespace vellum {

bool isPadMessage(MessageKind kind);

// The messages one pad message stands for at nowMs (none for a pad message that means nothing).
std::vector<WindowMessage> translatePadMessage(const WindowMessage& m, uint32_t nowMs);
// The repeats of held directions and scrolls that have come by nowMs.
std::vector<WindowMessage> padRepeatsDue(uint32_t nowMs);

// The pumps' calls: a pad message is taken (true) and what it stands for is posted behind the
// messages already waiting; the repeats due now are posted.
bool takePadMessage(const WindowMessage& m);
void postPadRepeats();

// Forgets what is held.
void resetPadInput();

}  // namespace vellum
