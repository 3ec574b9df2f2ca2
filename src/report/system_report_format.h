// The lines of Information.txt, as pure functions of what was probed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/machine_probe.h"

namespace vellum {

struct EngineSettings;
struct ScreenGeometry;

// The machine identifier: crc64_hash of the computer name followed by the volume serial as eight
// upper-case hexadecimal digits, in base 32.
std::string machineIdentifier(std::string_view computerName, uint32_t volumeSerial);

// Width, height and colour bits of a "%d x %d x %llu colors" description (bits: how often the
// colour count halves before it is 1 or less); false when the text does not match.
struct VideoMode {
  int32_t width = 0, height = 0, bits = 0;
};
bool parseVideoModeDescription(std::string_view text, VideoMode& mode);

// The machine description, from "Cwd:" to the last video controller.
std::string formatSystemReport(const MachineProbe& probe);

// The window title and the source and destination rectangles of the full-screen modes.
std::string formatGeometryReport(std::string_view title, const ScreenGeometry& geometry);
// The display settings, when the set-up stops because the settings dialog asked to quit.
std::string formatSettingsReport(const EngineSettings& settings);

}  // namespace vellum
