#include "shell/report_seam.h"

namespace vellum {

namespace {
// Constant-initialised, so the report can register while the program starts.
ReportHooks reportHooks;
}  // namespace

void setReportHooks(const ReportHooks& hooks) { reportHooks = hooks; }

void writeMachineReport() {
  if (reportHooks.writeMachineReport) reportHooks.writeMachineReport();
}

void appendSettingsToReport() {
  if (reportHooks.appendSettings) reportHooks.appendSettings();
}

void appendGeometryToReport(std::string_view title, const ScreenGeometry& geometry) {
  if (reportHooks.appendGeometry) reportHooks.appendGeometry(title, geometry);
}

void measuredMemory(int32_t& freeMiB, int32_t& videoMiB) {
  freeMiB = videoMiB = 0;
  if (reportHooks.measuredMemory) reportHooks.measuredMemory(freeMiB, videoMiB);
}

}  // namespace vellum
