// The Linux sources of the system report: the executable from /proc/self/exe, the identity from the
// host name and the root file system, the model from the firmware tables in /sys, the system from
// os-release and uname, the processor from the identification instruction and /sys topology,
// memory from /proc/meminfo and the firmware's memory-device records, sound from /proc/asound and
// the video controllers from /sys/class/drm.
#include "report/machine_probe.h"

#include <sched.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>
#include <thread>
#include <utility>

#include "report/probe_files.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define VELLUM_HAVE_CPUID 1
#endif

namespace vellum {

namespace fs = std::filesystem;

namespace {

ExecutableInfo probeExecutable() {
  ExecutableInfo exe;
  std::error_code ec;
  const fs::path path = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return exe;
  exe.folder = path.parent_path().string();
  if (exe.folder.empty() || exe.folder.back() != '/') exe.folder += '/';
  exe.fileName = path.filename().string();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return exe;
  std::tm local{};
  if (!localtime_r(&st.st_mtime, &local)) return exe;
  exe.timeKnown = true;
  exe.year = local.tm_year + 1900;
  exe.month = local.tm_mon + 1;
  exe.day = local.tm_mday;
  exe.hour = local.tm_hour;
  exe.minute = local.tm_min;
  exe.second = local.tm_sec;
  return exe;
}

std::string hostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

// The root file system stands in for the system volume.
uint32_t rootVolumeSerial() {
  struct statvfs v {};
  if (statvfs("/", &v) != 0) return 0;
  return static_cast<uint32_t>(v.f_fsid);
}

void probeModel(MachineProbe& p) {
  ComputerModel m{firstLine("/sys/class/dmi/id/sys_vendor"), firstLine("/sys/class/dmi/id/product_name")};
  if (!m.manufacturer.empty() || !m.model.empty()) p.models.push_back(std::move(m));
}

void probeSystem(MachineProbe& p) {
  OperatingSystem os;
  os.caption = unquoted(keyValue(readSmallFile("/etc/os-release"), "PRETTY_NAME", '='));
  struct utsname u {};
  if (uname(&u) == 0) {
    if (os.caption.empty()) os.caption = u.sysname;
    os.version = u.release;
    os.sixtyFourBit = std::strstr(u.machine, "64") != nullptr || std::strcmp(u.machine, "s390x") == 0;
  }
  const std::string meminfo = readSmallFile("/proc/meminfo");
  os.totalKiB = leadingNumber(keyValue(meminfo, "MemTotal", ':'));
  std::string available = keyValue(meminfo, "MemAvailable", ':');
  if (available.empty()) available = keyValue(meminfo, "MemFree", ':');
  os.freeKiB = leadingNumber(available);
  p.systems.push_back(std::move(os));
}

#ifdef VELLUM_HAVE_CPUID
void probeIdentification(ProcessorInfo& cpu) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(0, &a, &b, &c, &d)) return;
  char vendor[13] = {};
  std::memcpy(vendor, &b, 4);
  std::memcpy(vendor + 4, &d, 4);
  std::memcpy(vendor + 8, &c, 4);
  cpu.vendor = vendor;
  if (a >= 1 && __get_cpuid(1, &a, &b, &c, &d)) {
    cpu.featureEcx = c;
    cpu.featureEdx = d;
  }
  const unsigned top = __get_cpuid_max(0x80000000u, nullptr);
  if ((top & 0x80000000u) && top >= 0x80000004u) {
    char brand[49] = {};
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
      __get_cpuid(0x80000002u + leaf, &a, &b, &c, &d);
      std::memcpy(brand + leaf * 16, &a, 4);
      std::memcpy(brand + leaf * 16 + 4, &b, 4);
      std::memcpy(brand + leaf * 16 + 8, &c, 4);
      std::memcpy(brand + leaf * 16 + 12, &d, 4);
    }
    const char* name = brand;
    while (*name == ' ') ++name;
    cpu.name = name;
  }
}
#else
void probeIdentification(ProcessorInfo&) {}
#endif

void probeProcessorCounts(ProcessorInfo& cpu) {
  std::set<std::pair<std::string, std::string>> cores;
  int logical = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/sys/devices/system/cpu", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 4 || name.compare(0, 3, "cpu") != 0 ||
        !std::all_of(name.begin() + 3, name.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
      continue;
    }
    const fs::path topology = entry.path() / "topology";
    const std::string package = firstLine(topology / "physical_package_id");
    const std::string core = firstLine(topology / "core_id");
    if (package.empty() && core.empty()) continue;  // offline
    cores.insert({package, core});
    ++logical;
  }
  cpu.physicalCores = static_cast<int32_t>(cores.size());
  cpu.logicalProcessors = logical;
  if (cpu.physicalCores == 0 || cpu.logicalProcessors == 0) {
    // Without the topology: one core, and the processors this process may run on.
    cpu.physicalCores = 1;
#ifdef __EMSCRIPTEN__
    // The browser tells only how many processors the page may use.
    cpu.logicalProcessors = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
#else
    cpu_set_t set;
    CPU_ZERO(&set);
    cpu.logicalProcessors = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
#endif
  }
}

void probeProcessor(ProcessorInfo& cpu) {
  probeIdentification(cpu);
  const std::string cpuinfo = readSmallFile("/proc/cpuinfo", 1 << 20);
  if (cpu.name.empty()) cpu.name = keyValue(cpuinfo, "model name", ':');
  if (cpu.vendor != "GenuineIntel") {
    const int64_t khz = leadingNumber(firstLine("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"));
    cpu.mhz = static_cast<int32_t>(khz > 0 ? khz / 1000 : leadingNumber(keyValue(cpuinfo, "cpu MHz", ':')));
  }
  probeProcessorCounts(cpu);
}

// Memory-device records (type 17) of the firmware tables; readable only with privileges.
void probeMemoryModules(MachineProbe& p) {
  std::error_code ec;
  std::vector<fs::path> records;
  for (const auto& entry : fs::directory_iterator("/sys/firmware/dmi/entries", ec)) {
    if (entry.path().filename().string().rfind("17-", 0) == 0) records.push_back(entry.path() / "raw");
  }
  std::sort(records.begin(), records.end());
  for (const fs::path& raw : records) {
    MemoryModule m;
    if (memoryModuleFromRecord(readSmallFile(raw), m)) p.memory.push_back(std::move(m));
  }
}

void probeSound(MachineProbe& p) {
  for (SoundDevice& d : soundCardsFromList(readSmallFile("/proc/asound/cards"))) p.sound.push_back(std::move(d));
}

void probeVideo(MachineProbe& p) {
  std::error_code ec;
  std::vector<fs::path> cards;
  for (const auto& entry : fs::directory_iterator("/sys/class/drm", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && name.compare(0, 4, "card") == 0 &&
        std::all_of(name.begin() + 4, name.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
      cards.push_back(entry.path());
    }
  }
  std::sort(cards.begin(), cards.end());
  for (const fs::path& card : cards) {
    const fs::path device = card / "device";
    VideoController v;
    const std::string vendor = firstLine(device / "vendor");
    const std::string product = firstLine(device / "device");
    v.description = pciDeviceName(vendor, product);
    v.adapterRamBytes =
        static_cast<uint64_t>(std::max<int64_t>(leadingNumber(firstLine(device / "mem_info_vram_total")), 0));
    const fs::path driver = fs::read_symlink(device / "driver", ec);
    if (!ec) {
      v.drivers = driver.filename().string();
      v.driverVersion = firstLine(fs::path("/sys/module") / v.drivers / "version");
    }
    p.video.push_back(std::move(v));
  }
}

}  // namespace

MachineProbe probeMachine() {
  MachineProbe p;
  p.executable = probeExecutable();
  p.computerName = hostName();
  p.volumeSerial = rootVolumeSerial();
  probeModel(p);
  probeSystem(p);
  probeProcessor(p.processor);
  probeMemoryModules(p);
  probeSound(p);
  probeVideo(p);
  return p;
}

std::string videoModeDescription(const DisplayMode& mode) {
  const int bits = std::clamp(mode.bitsPerPixel, 0, 63);
  char text[96];
  std::snprintf(text, sizeof text, "%d x %d x %llu colors", mode.width, mode.height, 1ull << bits);
  return text;
}

void attachDisplayModes(MachineProbe& probe, const DisplayProbe& displays) {
  for (size_t i = 0; i < displays.displays.size(); ++i) {
    if (i >= probe.video.size()) probe.video.emplace_back();
    const DisplayMode& mode = displays.displays[i];
    probe.video[i].modeDescription = videoModeDescription(mode);
    probe.video[i].refreshRate = mode.refreshRate > 0 ? std::to_string(mode.refreshRate) : std::string();
  }
}

}  // namespace vellum
