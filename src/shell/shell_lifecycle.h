// The shell's state as a whole: emptied with the rest of the engine, and the window closed when the
// process ends.
#pragma once

namespace vellum {

// Every shell record back to its start (the window destroyed, input and replay forgotten).
void resetShell();
// At the end of the process: the renderer released, the cursor and the window destroyed.
void closeShell();

}  // namespace vellum
