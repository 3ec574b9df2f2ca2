// The script files of a game's source folder (SRC/script/, as vellum-pack walks it), each with its
// game path and what its change is seen by.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vellum {

// The modification time and size as the file system reports them: a save changes one or both.
struct SourceSignature {
  int64_t modifiedNs = 0;
  uintmax_t size = 0;
  bool operator==(const SourceSignature&) const = default;
};

struct ScriptSource {
  std::filesystem::path file;
  std::string gamePath;  // "script/" + the path under script/, GBK: what the packer keys it by
  uint64_t key = 0;      // CRC-64 of gamePath
  SourceSignature signature;
};

// Every regular file under `root`/script/. Names without a GBK form are left out (the packer
// refuses them); a folder that cannot be read gives what could be listed.
std::vector<ScriptSource> listScriptSources(const std::filesystem::path& root);

// The file's bytes; false when it cannot be read (it may be in the middle of being replaced).
bool readSourceBytes(const std::filesystem::path& file, std::vector<uint8_t>& bytes);

}  // namespace vellum
