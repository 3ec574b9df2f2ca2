#include "shell/display/other_windows.h"

namespace vellum {

void saveOtherWindowPlacements() {}
void refitOtherWindowPlacements() {}
void restoreOtherWindowPlacements() {}

}  // namespace vellum
