// The menu and dialog models as the platform kit's views: GBK labels become UTF-8.
#pragma once

#include <string>

#include "persist/engine_settings.h"
#include "platform/ui_overlay.h"
#include "shell/ui/menu_model.h"
#include "shell/ui/settings_dialog_model.h"

namespace vellum {

ui::MenuBarView menuBarView(const MenuModel& model);
ui::DialogView dialogView(const SettingsDialog& dialog, const EngineSettings& s);
// A dialog control's size in the kit's font, for laying the settings dialog out.
ControlSize measureDialogControl(DialogControlKind kind, const std::string& gbkLabel, int32_t width);
// Every label of the view, for the font's glyphs.
std::string labelsOf(const ui::MenuBarView& view);
std::string labelsOf(const ui::DialogView& view);

// Saves the window's current picture as the next numbered PNG in the folder named by the
// environment variable VELLUM_UI_SHOTS (nothing when it is unset): what headless tests look at.
void saveInterfaceShot(int windowW, int windowH);

}  // namespace vellum
