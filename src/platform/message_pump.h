// One pass over the window system's pending messages, for commands that wait (sleep).
#pragma once

namespace vellum {

// Handles what is pending and returns at once. True when a request to quit was among it.
bool pumpMessagesOnce();

}  // namespace vellum
