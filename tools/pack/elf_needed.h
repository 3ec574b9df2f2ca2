// The shared libraries an ELF program or library names as needed (DT_NEEDED), read from its
// dynamic section without running anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellum::pack {

// The sonames in the order the file lists them; nullopt when the bytes are not a little-endian
// ELF file with a readable dynamic section (a static program has none and gives an empty list).
std::optional<std::vector<std::string>> neededLibraries(const std::vector<uint8_t>& elf);

}  // namespace vellum::pack
