// The files a pack command reads and writes: a folder walked in a stable order, each file with the
// game path that keys it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vellum::pack {

struct SourceFile {
  std::filesystem::path file;  // where it is on disk
  std::string relative;        // relative to the walked folder, '/' separators, UTF-8
  std::string gamePath;        // `prefix` + relative as GBK bytes: what the script writes
};

// Every regular file under `root`, sorted by relative path, leaving out `exclude` (the output
// being written, when it lies inside the folder). Throws ToolError for a missing folder or a
// name that has no GBK form.
std::vector<SourceFile> listSourceFiles(const std::filesystem::path& root, const std::string& prefix,
                                        const std::filesystem::path& exclude = {});

std::vector<uint8_t> readBytes(const std::filesystem::path& file);
// Creates the parent folders; the file appears complete or not at all.
void writeBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

}  // namespace vellum::pack
