// What the system report says about the machine, gathered by one probe (machine_probe.cpp reads
// Linux's /proc, /sys, the processor identification instruction and the file systems) and written
// by a pure formatter (system_report_format.cpp). Texts are kept as the system gives them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display_probe.h"

namespace vellum {

struct ExecutableInfo {
  std::string drive;   // empty on Linux
  std::string folder;  // with its trailing '/'
  std::string fileName;
  bool timeKnown = false;  // the file was found: its last-write time in local time follows
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct ComputerModel {
  std::string manufacturer, model;
};

struct OperatingSystem {
  std::string caption;
  bool sixtyFourBit = false;
  std::string version, servicePack;
  int64_t freeKiB = 0, totalKiB = 0;  // physical memory
};

struct ProcessorInfo {
  std::string vendor;  // the 12-character identification vendor; empty when there is none
  std::string name;    // empty when neither the brand string nor the system names it
  int32_t mhz = 0;     // nominal clock, 0 when unknown
  int32_t physicalCores = 0, logicalProcessors = 0;
  uint32_t featureEcx = 0, featureEdx = 0;  // leaf 1 of the identification instruction
};

struct MemoryModule {
  uint64_t capacityBytes = 0;
  std::string speed;  // MHz as text, empty when unknown
};

struct SoundDevice {
  std::string manufacturer, description;
};

struct VideoController {
  std::string description;
  uint64_t adapterRamBytes = 0;
  std::string drivers, driverVersion;
  std::string modeDescription;  // "%d x %d x %llu colors"; empty when unknown
  std::string refreshRate;      // Hz as text, empty when unknown
};

struct MachineProbe {
  ExecutableInfo executable;
  std::string computerName;
  uint32_t volumeSerial = 0;
  std::vector<ComputerModel> models;
  std::vector<OperatingSystem> systems;
  ProcessorInfo processor;
  std::vector<MemoryModule> memory;
  std::vector<SoundDevice> sound;
  std::vector<VideoController> video;
  // A query that failed ends the report with its code and text (none when failureText is empty).
  uint32_t failureCode = 0;
  std::string failureText;
};

// Reads the machine. Never fails: what cannot be read stays empty or zero.
MachineProbe probeMachine();
// Gives the video controllers their display modes, in order; displays without a controller of
// their own get one without a description.
void attachDisplayModes(MachineProbe& probe, const DisplayProbe& displays);
// "%d x %d x %llu colors" of a display mode (2^bits colours).
std::string videoModeDescription(const DisplayMode& mode);

}  // namespace vellum
