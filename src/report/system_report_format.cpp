#include "report/system_report_format.h"

#include <vellum/exports.h>

#include <cstdio>
#include <string>

#include "persist/engine_settings.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

// printf into a string of any length.
template <typename... Args>
void appendf(std::string& out, const char* format, Args... values) {
  const int n = std::snprintf(nullptr, 0, format, values...);
  if (n <= 0) return;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(n) + 1);
  std::snprintf(out.data() + at, static_cast<size_t>(n) + 1, format, values...);
  out.resize(at + static_cast<size_t>(n));
}

// Feature names from leaf 1, each with a leading blank.
void appendFeatures(std::string& out, uint32_t ecx, uint32_t edx) {
  struct Feature {
    const char* name;
    bool inEdx;
    int bit;
  };
  static constexpr Feature kFeatures[] = {{" MMX", true, 23},    {" SSE", true, 25},     {" SSE2", true, 26},
                                          {" SSE3", false, 0},   {" SSSE3", false, 9},   {" SSE4.1", false, 19},
                                          {" SSE4.2", false, 20}};
  for (const Feature& f : kFeatures) {
    if (((f.inEdx ? edx : ecx) >> f.bit) & 1u) out += f.name;
  }
}

void appendProcessor(std::string& out, const ProcessorInfo& cpu) {
  if (!cpu.name.empty()) appendf(out, "CPU : %s", cpu.name.c_str());
  if (cpu.vendor != "GenuineIntel" && cpu.mhz != 0) appendf(out, " ~%dMHz", cpu.mhz);
  out += "\n\t";
  if (cpu.physicalCores != 0) appendf(out, "PC%i", cpu.physicalCores);
  if (cpu.logicalProcessors != 0) appendf(out, " LC%i", cpu.logicalProcessors);
  appendFeatures(out, cpu.featureEcx, cpu.featureEdx);
  out += "\n";
}

void appendVideo(std::string& out, const VideoController& v) {
  appendf(out, "GPU : %s\n", v.description.c_str());
  appendf(out, "VRAM : %luMB\n", static_cast<unsigned long>(v.adapterRamBytes >> 20));
  appendf(out, "Driver : %s", v.drivers.c_str());
  appendf(out, " %s\n", v.driverVersion.c_str());
  VideoMode mode;
  parseVideoModeDescription(v.modeDescription, mode);
  appendf(out, "Mode : %d x %d %dbit", mode.width, mode.height, mode.bits);
  appendf(out, " %sHz\n", v.refreshRate.c_str());
}

}  // namespace

std::string machineIdentifier(std::string_view computerName, uint32_t volumeSerial) {
  std::string text(computerName);
  appendf(text, "%08X", volumeSerial);
  return ulltos32(crc64_hash2(text.data(), text.size()));
}

bool parseVideoModeDescription(std::string_view text, VideoMode& mode) {
  mode = {};
  const std::string copy(text);
  int w = 0, h = 0;
  unsigned long long colours = 0;
  if (std::sscanf(copy.c_str(), "%d x %d x %llu colors", &w, &h, &colours) != 3) return false;
  mode.width = w;
  mode.height = h;
  while (colours > 1) {
    colours >>= 1;
    ++mode.bits;
  }
  return true;
}

std::string formatSystemReport(const MachineProbe& p) {
  std::string out;
  const ExecutableInfo& exe = p.executable;
  appendf(out, "Cwd: %s%s\n", exe.drive.c_str(), exe.folder.c_str());
  if (exe.timeKnown) {
    appendf(out, "\t%s: %04d/%02d/%02d %02d:%02d:%02d\n", exe.fileName.c_str(), exe.year, exe.month, exe.day, exe.hour,
            exe.minute, exe.second);
  }
  appendf(out, "UID : %s\n", machineIdentifier(p.computerName, p.volumeSerial).c_str());
  for (const ComputerModel& m : p.models) {
    appendf(out, "Model : %s", m.manufacturer.c_str());
    appendf(out, " / %s\n", m.model.c_str());
  }
  // The memory line reports the last system's figures (there is one).
  int32_t freeMiB = 0, totalMiB = 0;
  for (const OperatingSystem& os : p.systems) {
    appendf(out, "OS : %s", os.caption.c_str());
    appendf(out, " %s", os.sixtyFourBit ? "64bit" : "32bit");
    appendf(out, " (%s)", os.version.c_str());
    appendf(out, " %s\n", os.servicePack.c_str());
    freeMiB = static_cast<int32_t>(os.freeKiB / 1024);
    totalMiB = static_cast<int32_t>(os.totalKiB / 1024);
  }
  appendProcessor(out, p.processor);
  for (const MemoryModule& m : p.memory) {
    appendf(out, "RAM : %lluMB", static_cast<unsigned long long>(m.capacityBytes >> 20));
    if (!m.speed.empty()) appendf(out, " / %sMHz\n", m.speed.c_str());
    else out += "\n";
  }
  appendf(out, "Memoy : %d/%dMB\n", freeMiB, totalMiB);
  for (const SoundDevice& s : p.sound) {
    appendf(out, "Sound : %s", s.manufacturer.c_str());
    appendf(out, " / %s\n", s.description.c_str());
  }
  for (const VideoController& v : p.video) appendVideo(out, v);
  if (!p.failureText.empty())
    appendf(out, "%08lx : %s\n", static_cast<unsigned long>(p.failureCode), p.failureText.c_str());
  return out;
}

std::string formatGeometryReport(std::string_view title, const ScreenGeometry& g) {
  std::string out(title);
  out += "\n";
  for (int m = 1; m < kFullModes; ++m) {
    const GeoRect& s = g.src[static_cast<size_t>(m)];
    const GeoRect& d = g.dest[static_cast<size_t>(m)];
    // The fourth line has always been labelled Dest3; readers of the file expect it.
    const int label = m == 4 ? 3 : m;
    appendf(out, "Src%d %4d, %4d, %4d, %4d\tDest%d %4d, %4d, %4d, %4d\n", m, s.left, s.top, s.right, s.bottom, label,
            d.left, d.top, d.right, d.bottom);
  }
  return out;
}

std::string formatSettingsReport(const EngineSettings& s) {
  std::string out;
  appendf(out, "FullScreen%d FullMode%d WindowWidth%d VSyncWait%d\n", s.fullScreen, s.fullMode, s.windowWidth,
          s.vSyncWait);
  appendf(out, "Resolution%d ScreenAspect%d CacheMaxSize%d LookaHead%d\n", s.resolution, s.screenAspect,
          static_cast<int>(s.cacheMaxSize >> 20), s.lookAhead);
  appendf(out, "Interpolation%d TextureMax%d ColorMode%d ColorBlend%d\n", s.interpolation, s.textureMax, s.colorMode,
          s.colorBlend);
  return out;
}

}  // namespace vellum
