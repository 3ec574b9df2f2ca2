#include "shell/shell_hooks.h"

namespace vellum {

void buildFrameMenu() {}
void buildPopupMenu() {}
void hidePopupMenu() {}
void extendSystemMenu() {}

void runStartupSettingsDialog(int32_t, int32_t, int32_t, int32_t) {}

void showButtonTooltip(int32_t, int32_t, int32_t, int32_t, const std::string&) {}
void removeButtonTooltip() {}

}  // namespace vellum
