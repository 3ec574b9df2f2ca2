// Information.txt: rewritten with the machine description at every screen set-up; the set-up, the
// renderer and every error box then append to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/machine_probe.h"

namespace vellum {

struct ScreenGeometry;

// Two measured values the settings dialog shows.
struct MachineMemory {
  int32_t freeMiB = 0;   // free physical memory, from the latest report
  int32_t videoMiB = 0;  // the first video controller's memory, measured once
  bool videoMeasured = false;
};
MachineMemory& machineMemory();
void resetMachineMemory();

// Starts Information.txt afresh with the machine description. Returns 1, or 0 when the report
// folder cannot be made or the file cannot be created (the latter shown in the error box).
int writeSystemReport(const MachineProbe& probe);
// Probes this machine, takes the display modes from the window system's data, and writes.
int writeSystemReport(const DisplayProbe& displays);

// Appends bytes to Information.txt; false when it cannot be opened.
bool appendToInformationFile(std::string_view bytes);
// The window title and the full-screen rectangles, after the geometry set-up.
bool appendGeometryReport(std::string_view title, const ScreenGeometry& geometry);
// The display settings, when the set-up ends because the settings dialog asked to quit.
bool appendSettingsReport();

// The screen set-up's report in one call: the machine description, then the title and rectangles.
int writeSystemReport(const DisplayProbe& displays, const ScreenGeometry& geometry, std::string_view title);

}  // namespace vellum
