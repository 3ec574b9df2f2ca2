// The main window lent to a dialog that runs before the game's renderer exists: shown at the
// dialog's size in the middle of its monitor, with an OpenGL context of its own for the
// interface kit, handed back (context gone) when the dialog ends.
#pragma once

#include <cstdint>

namespace vellum {

// False when the window or the context cannot be had.
bool openDialogSurface(int32_t width, int32_t height);
// Binds the surface's picture for the next frame's drawing.
void beginDialogSurfaceFrame();
// Shows the frame drawn since the last call.
void presentDialogSurface();
void closeDialogSurface();

}  // namespace vellum
