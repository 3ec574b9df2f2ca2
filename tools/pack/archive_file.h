// An archive or script container read whole into memory, for listing and extracting. The index is
// checked as the engine checks it, but problems become ToolErrors or warnings, not reports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/archive_format.h"

namespace vellum::pack {

struct ArchiveFile {
  std::filesystem::path file;
  std::vector<uint8_t> bytes;
  uint32_t count = 0;                // what the header says
  std::vector<IndexEntry> entries;   // the whole entries present, in file order
};

// Throws ToolError when the file cannot be read or has no header; warns on stderr when the index is
// shorter than its count.
ArchiveFile readArchiveFile(const std::filesystem::path& file);

// The stored size of an entry as the loader sees it: stored entries carry a path-byte XOR.
uint32_t storedSizeFor(const IndexEntry& entry, std::string_view gamePath);

// Decodes one entry's data given its path. `titleWord` set: a script entry, compressed whatever its
// flags, with words XORed by key XOR title. Returns the reason on failure.
std::optional<std::string> decodeEntry(const ArchiveFile& archive, const IndexEntry& entry,
                                       std::string_view gamePath, std::optional<uint32_t> titleWord,
                                       std::vector<uint8_t>& out);

}  // namespace vellum::pack
