#include "platform/message_pump.h"

namespace vellum {

// No window exists yet, so nothing is pending; the window layer takes this over when it creates
// the main window.
bool pumpMessagesOnce() { return false; }

}  // namespace vellum
