// A gzip-compressed tar file (POSIX ustar) of files held in memory: what `dist` hands to players.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellum::pack {

struct BundleEntry {
  std::string path;            // inside the bundle, '/' separators
  std::vector<uint8_t> bytes;
  bool executable = false;     // mode 755 instead of 644
};

// The .tar.gz bytes: a folder entry for each folder the paths pass through, then the files.
// Throws ToolError for a path too long for the format.
std::vector<uint8_t> tarGz(const std::vector<BundleEntry>& entries);

}  // namespace vellum::pack
