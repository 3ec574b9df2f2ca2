// Shared pieces of the fuzz targets: reports go nowhere, and a private game folder to write into.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"

namespace vellum::fuzz {

// Creates the folder on first use and points the engine at it; reports are silenced.
inline const std::string& gameFolder() {
  static const std::string folder = [] {
    setReportSink(silentReportSink());
    auto path = std::filesystem::temp_directory_path() / ("vellum-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path.string() + "/";
  }();
  engine().exeDirectory = folder;
  engine().headless = true;
  return folder;
}

inline void writeGameFile(const std::string& name, const uint8_t* data, size_t size) {
  std::ofstream out(gameFolder() + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace vellum::fuzz
