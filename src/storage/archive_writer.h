// Writes archives and script containers in the formats the engine reads. Used by vellum-pack and
// by tests that need game data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

enum class ArchiveMode {
  Compress,  // zlib stream, whole words XORed with the key (flags 0x02)
  Scramble,  // stored, bytes scrambled with the path (flags 0x01)
  Plain,     // stored as is (flags 0x00)
};

enum class ArchiveLayout {
  Acv1,    // "ACV1" magic and the count word
  Legacy,  // the count XORed into the first word
};

struct ArchiveMember {
  std::string path;  // as the script writes it: the key is crc64 of these bytes
  std::vector<uint8_t> data;
};

// Builds a data archive. Returns false and sets `error` when the data cannot be packed.
bool buildArchive(const std::vector<ArchiveMember>& members, ArchiveMode mode, ArchiveLayout layout,
                  std::vector<uint8_t>& out, std::string& error);

// Builds a script container for the given title: every member compressed and scrambled with its
// key and the title key.
bool buildScriptContainer(const std::vector<ArchiveMember>& members, std::string_view title,
                          ArchiveLayout layout, std::vector<uint8_t>& out, std::string& error);

}  // namespace vellum
