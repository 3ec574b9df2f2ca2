// The other desktop windows around the temporary 800x600 display change of full-screen mode 0:
// saved before the change, re-fitted to the changed monitor (refitPlacement), restored when the
// mode is left. On Linux the engine has no access to other programs' windows (the window manager
// owns them and re-fits them itself), so these are seams that do nothing; the display-mode code
// calls them at the points where the placements would be handled.
#pragma once

namespace vellum {

void saveOtherWindowPlacements();
void refitOtherWindowPlacements();
void restoreOtherWindowPlacements();

}  // namespace vellum
