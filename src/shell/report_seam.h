// Where the shell meets the system report: screen set-up starts Information.txt afresh with the
// machine's description, then appends the settings or the display geometry. The report registers
// its entry points once; until it does, set-up writes no report and carries on.
#pragma once

#include <string_view>

namespace vellum {

struct ScreenGeometry;

struct ReportHooks {
  // Starts the report with the machine and its displays.
  void (*writeMachineReport)() = nullptr;
  // Appends the settings (set-up ended early) or the geometry (set-up finished).
  void (*appendSettings)() = nullptr;
  void (*appendGeometry)(std::string_view title, const ScreenGeometry& geometry) = nullptr;
};

void setReportHooks(const ReportHooks& hooks);

// The calls screen set-up makes; each is a no-op while no report is registered.
void writeMachineReport();
void appendSettingsToReport();
void appendGeometryToReport(std::string_view title, const ScreenGeometry& geometry);

}  // namespace vellum
