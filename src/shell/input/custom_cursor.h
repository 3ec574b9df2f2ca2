// The pointer picture a game chooses with setCursor or the CursorFile setting: a `.cur`, an `.ani`
// or any picture the image codecs read (its alpha below 128 is transparent, the hot spot 0, 0).
#pragma once

#include <string_view>

namespace vellum {

// Stores CursorFile and makes the cursor current; an empty name restores the system arrow.
void setCursorFile(std::string_view name);
// Shows the next frame of an animated cursor when due (called by the pumps).
void stepCursorAnimation();
// Makes the cursor again after the window was created.
void reapplyCustomCursor();

}  // namespace vellum
