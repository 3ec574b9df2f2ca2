// What the screen set-up writes to Information.txt: the system report that starts the file, then
// the settings (when the dialog quit) or the title and the full-screen rectangles.
#pragma once

namespace vellum {

void writeSetUpSystemReport();
// "FullScreen%d FullMode%d ..." three lines.
void appendSetUpSettingsLines();
// The title and the Src/Dest lines of the four full-screen modes.
void appendSetUpGeometryLines();

}  // namespace vellum
