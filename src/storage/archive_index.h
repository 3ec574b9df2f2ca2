// Archive files arc0.dat ... arc8.dat (and script.dat) start with an index of 21-byte entries,
// each field XORed with the low word of the entry's key. Later archives and later entries win.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace vellum {

// Flag bit 1: the data is a zlib stream whose whole 32-bit words are XORed with the key's low word.
// Clear: the data is stored as is; offset and size also carry a path-byte XOR, and nonzero flags
// mean the bytes are scrambled with the path characters.
constexpr uint8_t kArchiveCompressed = 0x02;

constexpr uint32_t kArchiveMagic = 0x31564341;      // "ACV1" read as a little-endian word
constexpr uint32_t kArchiveCountXor = 0x5A17C3E9;   // count XOR and offset XOR of the ACV1 layout
constexpr uint32_t kLegacyCountXor = 0x3D94B02C;    // count XOR of the older layout
constexpr size_t kArchiveEntrySize = 21;

struct ArchiveEntry {
  std::string archivePath;  // the path the archive was opened with
  uint8_t flags = 0;
  uint32_t offset = 0;        // decoded; the path-byte XOR of plain entries is applied when opening
  uint32_t storedSize = 0;
  uint32_t unpackedSize = 0;
  uint64_t archiveSize = 0;   // length of the archive file, to refuse entries that run past it
};

using ArchiveIndex = std::unordered_map<uint64_t, ArchiveEntry>;

// Reads one index file into `index`. Returns false only when the file cannot be opened (or is not a
// regular file); a truncated index is reported and keeps the entries read in full before the end.
// The count is never trusted further than the file's length.
bool readArchiveIndex(const std::string& path, ArchiveIndex& index);

}  // namespace vellum
