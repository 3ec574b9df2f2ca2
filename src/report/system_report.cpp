#include "report/system_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "report/system_report_format.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

MachineMemory theMemory;

// The user-data folder exists before anything is written into it.
bool makeReportFolder() {
  const EngineState& e = engine();
  if (e.userDataDirectory.empty() || e.userDataDirectory == e.exeDirectory) return true;
  std::error_code ec;
  std::filesystem::create_directories(e.userDataDirectory, ec);
  return !ec && std::filesystem::is_directory(e.userDataDirectory, ec);
}

void keepMachineMemory(const MachineProbe& p) {
  if (!p.systems.empty()) theMemory.freeMiB = static_cast<int32_t>(p.systems.back().freeKiB / 1024);
  if (!theMemory.videoMeasured && !p.video.empty()) {
    theMemory.videoMiB = static_cast<int32_t>(p.video.front().adapterRamBytes >> 20);
    theMemory.videoMeasured = true;
  }
}

}  // namespace

MachineMemory& machineMemory() { return theMemory; }
void resetMachineMemory() { theMemory = MachineMemory{}; }

int writeSystemReport(const MachineProbe& probe) {
  if (!makeReportFolder()) return 0;
  const std::string path = informationFilePath();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    const int error = errno;
    showErrorBox(ReportText().ascii("PrintVideoController\nInformation.txt ").ascii(std::strerror(error)));
    return 0;
  }
  const std::string text = formatSystemReport(probe);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  std::fclose(file);
  keepMachineMemory(probe);
  return written ? 1 : 0;
}

int writeSystemReport(const DisplayProbe& displays) {
  MachineProbe probe = probeMachine();
  attachDisplayModes(probe, displays);
  return writeSystemReport(probe);
}

bool appendToInformationFile(std::string_view bytes) {
  FILE* file = std::fopen(informationFilePath().c_str(), "ab");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  return written;
}

bool appendGeometryReport(std::string_view title, const ScreenGeometry& geometry) {
  return appendToInformationFile(formatGeometryReport(title, geometry));
}

bool appendSettingsReport() { return appendToInformationFile(formatSettingsReport(settings())); }

int writeSystemReport(const DisplayProbe& displays, const ScreenGeometry& geometry, std::string_view title) {
  if (!writeSystemReport(displays)) return 0;
  return appendGeometryReport(title, geometry) ? 1 : 0;
}

}  // namespace vellum
