// Where the shell meets the system report: screen set-up starts Information.txt afresh with the
// machine's description, then appends the settings or the display geometry. The report registers
// its entry points once; until it does, set-up writes no report and carries on.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellum {

struct ScreenGeometry;

struct ReportHooks {
  // Starts the report with the machine and its displays.
  void (*writeMachineReport)() = nullptr;
  // Appends the settings (set-up ended early) or the geometry (set-up finished).
  void (*appendSettings)() = nullptr;
  void (*appendGeometry)(std::string_view title, const ScreenGeometry& geometry) = nullptr;
  // The free physical memory and the video memory the report measured, in MiB.
  void (*measuredMemory)(int32_t& freeMiB, int32_t& videoMiB) = nullptr;
};

void setReportHooks(const ReportHooks& hooks);

// The calls screen set-up makes; each is a no-op while no report is registered.
void writeMachineReport();
void appendSettingsToReport();
void appendGeometryToReport(std::string_view title, const ScreenGeometry& geometry);
// Both 0 while no report is registered.
void measuredMemory(int32_t& freeMiB, int32_t& videoMiB);

}  // namespace vellum
