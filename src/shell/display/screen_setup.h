// The screen set-up of the `screen` command: the window, the system report, the settings dialog,
// the geometry, the renderer and the display mode, in that order.
#pragma once

#include <cstdint>

namespace vellum {

// Flag bits of the set-up's fourth argument.
constexpr int32_t kSetUpDialogFlag = 1;     // handed to the settings dialog
constexpr int32_t kSetUpNoDialog = 2;       // do not show the settings dialog
constexpr int32_t kSetUpFixedWindow = 4;    // fixed-size window without any menu
constexpr int32_t kSetUpNoAspectSwitch = 8;   // no 16:9 / 4:3 switch

// Everything up to the renderer (window, report, dialog, geometry). False on failure (QuitFlag is
// then the caller's to set).
bool setUpScreen(int32_t gameW, int32_t gameH, int32_t refW, int32_t flags);

// The whole command: set-up, renderer, display mode; any failure sets QuitFlag.
void runScreenCommand(int32_t gameW, int32_t gameH, int32_t refW, int32_t flags);

}  // namespace vellum
