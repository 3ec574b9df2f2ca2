// Reading and picking apart the small text and binary files the machine probe looks at. The
// parsers are pure so the formats are tested without the machine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "report/machine_probe.h"

namespace vellum {

// The whole file, at most `limit` bytes; empty when it cannot be read.
std::string readSmallFile(const std::filesystem::path& path, size_t limit = 64 * 1024);
// The first line of a file without its line break (sysfs attributes).
std::string firstLine(const std::filesystem::path& path);

// The value of the first line "key<blanks><separator>value", trimmed; empty when there is none.
std::string keyValue(std::string_view text, std::string_view key, char separator);
// A shell-style value without its surrounding quotes.
std::string unquoted(std::string_view value);
// The decimal number at the start of a text (after blanks); 0 when there is none.
int64_t leadingNumber(std::string_view text);

// A memory-device record (type 17) of the firmware tables; false for an empty slot or a record
// that is not one.
bool memoryModuleFromRecord(std::string_view record, MemoryModule& module);
// The cards of /proc/asound/cards: driver as the manufacturer, the short name as the description.
std::vector<SoundDevice> soundCardsFromList(std::string_view text);
// The name of a PCI device in a pci.ids list; empty when it is not listed.
std::string pciNameFromIds(std::string_view ids, uint32_t vendor, uint32_t device);
// A video controller's description from its sysfs vendor and device ("0x10de"): the pci.ids name
// when the system has the list, else "PCI vvvv:dddd"; empty without ids.
std::string pciDeviceName(const std::string& vendorText, const std::string& deviceText);

}  // namespace vellum
