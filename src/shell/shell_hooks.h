// Calls from the window layer into parts of the shell that come later (the menu bar and its
// popup, the start-up settings dialog, button tooltips). Each does nothing here; the part that owns
// the work fills in the body when it lands.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// The menu bar of the window frame and of the popup shown at the top edge or by Alt.
void buildFrameMenu();
void buildPopupMenu();
void hidePopupMenu();
// The extra system-menu items (show the menu bar, fix it in the frame).
void extendSystemMenu();

// The start-up settings dialog (gameW, gameH, refW, the set-up's flag 1). It may set QuitFlag.
void runStartupSettingsDialog(int32_t gameW, int32_t gameH, int32_t refW, int32_t flag);

// A button's tooltip at a client rectangle, and its removal.
void showButtonTooltip(int32_t left, int32_t top, int32_t right, int32_t bottom, const std::string& text);
void removeButtonTooltip();

}  // namespace vellum
