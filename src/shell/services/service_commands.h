// Commands that reach outside the engine: network, downloads, the desktop shell, the clipboard,
// the find dialog, file tests, the question boxes, and the embedded player that Linux lacks.
#pragma once

namespace vellum {

void provideServiceCommands();

}  // namespace vellum
