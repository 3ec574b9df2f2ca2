// The interpreter loop: walks the lines of the loaded script files and dispatches every command by
// the CRC-32 of its name; story text lines go through the read-flag hook and the message hand-off.
// It is not a frame loop: frames are produced only inside commands.
#pragma once

namespace vellum {

// Runs from slot 0, line 0 until the current file's last line is passed, QuitFlag is set after a
// native command, or the message layer asks to stop.
void runInterpreter();

}  // namespace vellum
