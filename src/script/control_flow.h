// Moving the execution cursor: jumps to labels (also into other files), subroutine calls, and the
// end of fast-forward. Commands set the cursor and its jump flag; the interpreter loop continues at
// the new position and performs file switches after the command.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellum {

// Asks the loop to continue in the file with this key after the current command.
void switchToFile(uint64_t key);

// Jumps to the label named by a label text ("*name"). False when there is no such label.
bool jumpTo(std::string_view labelText);

// Pushes a call frame and jumps to the label with this key. False when there is no such label.
bool callLabel(uint32_t labelKey);

// Ends fast-forward and returns to slot 0, calling load_lb first when the script defines it.
void endFastForward();

// Work deferred while fast-forwarding (pending sprite changes, frame sequences asked for meanwhile,
// ...) belongs to higher layers; each adds a hook that endFastForward runs, in the order added (the
// sprites' commit comes before the movies), once the mode is cleared. Adding the same hook again
// changes nothing.
using FastForwardEndHook = void (*)();
void addFastForwardEndHook(FastForwardEndHook hook);

}  // namespace vellum

namespace vellum {

// The label key of a label text ("*name" -> CRC-32 of "name"); 0 for a text without a name.
uint32_t labelKeyOf(std::string_view labelText);
bool labelExists(std::string_view labelText);

}  // namespace vellum
