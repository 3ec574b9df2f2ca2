// Windowed and full-screen presentation of the main window, and the display operations the
// keyboard, the menu and the commands trigger.
#pragma once

#include <cstdint>

namespace vellum {

// Applies FullScreen/FullMode to the window. keepDevice goes to the renderer's reset; centre puts
// a windowed window in the middle of its monitor (unless WindowPos keeps the stored position);
// restyle re-applies the frame style even to a maximised window.
void applyDisplayMode(bool keepDevice, bool centre, bool restyle);

// Reads the monitor the window is on into the geometry.
void updateMonitorFromWindow();
// Frame extents from the window manager's borders, then the monitor geometry.
void updateFrameExtents();

// Alt+Enter and the menu: switch between windowed and full screen (ignored during a transition);
// the input loop hears of it as an event.
void toggleFullScreen();
// setFullScreen: the same switch without the event.
void setFullScreenFlag(int32_t on);
// A full-screen mode 0..4, re-applied at once when full screen.
void setFullScreenMode(int32_t mode);
// A window-size preset 0..9.
void setWindowPreset(int32_t index);
// The 16:9 / 4:3 switch (value 0 / 1).
void setScreenAspectValue(int32_t value);

}  // namespace vellum
