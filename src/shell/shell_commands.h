// The shell's command families: display geometry, the window and input.
#pragma once

namespace vellum {

void provideGeometryCommands();
void provideWindowCommands();
void provideInputCommands();

}  // namespace vellum
