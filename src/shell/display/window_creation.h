// The main window's creation and the single-instance rule.
#pragma once

namespace vellum {

// Creates the main window named after the title. False when another copy of the game runs (it is
// asked to come to the front), when the settings tool runs, or when the window cannot be made
// (reported); the caller then sets QuitFlag.
bool createShellWindow();

// The title (GBK) as a person sees it.
void applyWindowTitle();

}  // namespace vellum
