// The system report behind the shell's report seam: screen set-up writes the machine's
// description, then the settings or the display geometry.
#include "base/engine_state.h"
#include "platform/display_probe.h"
#include "platform/main_window.h"
#include "report/system_report.h"
#include "shell/report_seam.h"

namespace vellum {

namespace {

// The displays the report describes: headless, the offscreen driver's own mode is replaced by the
// monitor the engine pretends to have.
DisplayProbe displaysForReport() {
  DisplayProbe probe = probeDisplays();
  if (!engine().headless) return probe;
  const DisplayArea monitor = mainMonitor();
  if (probe.displays.empty()) probe.displays.emplace_back();
  DisplayMode& mode = probe.displays.front();
  mode.width = monitor.width;
  mode.height = monitor.height;
  mode.bitsPerPixel = 32;
  mode.refreshRate = monitor.refreshRate;
  return probe;
}

void writeMachine() { writeSystemReport(displaysForReport()); }

void appendSettings() { appendSettingsReport(); }

void appendGeometry(std::string_view title, const ScreenGeometry& geometry) { appendGeometryReport(title, geometry); }

void measured(int32_t& freeMiB, int32_t& videoMiB) {
  freeMiB = machineMemory().freeMiB;
  videoMiB = machineMemory().videoMiB;
}

ReportHooks reportHooks() {
  ReportHooks hooks;
  hooks.writeMachineReport = &writeMachine;
  hooks.appendSettings = &appendSettings;
  hooks.appendGeometry = &appendGeometry;
  hooks.measuredMemory = &measured;
  return hooks;
}

// The seam's table is constant-initialised, so it can be filled while the program starts.
[[maybe_unused]] const bool registered = (setReportHooks(reportHooks()), true);

}  // namespace

}  // namespace vellum
