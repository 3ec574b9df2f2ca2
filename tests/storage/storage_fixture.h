// Shared pieces of the storage tests: a temporary game folder, a recorder for reports, and a
// fixture that gives every test a clean engine pointed at its own folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "base/engine_state.h"
#include "base/report.h"
#include "support/recorded_reports.h"
#include "support/temp_folder.h"
#include "storage/aligned_memory.h"
#include "storage/archive_writer.h"
#include "storage/file_loader.h"

namespace vellum::test_support {

// The bytes before the index of a version-1 archive.
inline constexpr size_t kAcv1Header = 8;

using Bytes = std::vector<uint8_t>;

inline Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline void writeFile(const std::filesystem::path& file, const Bytes& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Readable names for parameterised tests.
inline const char* nameOf(ArchiveMode mode) {
  switch (mode) {
    case ArchiveMode::Compress: return "Compress";
    case ArchiveMode::Scramble: return "Scramble";
    case ArchiveMode::Plain: return "Plain";
  }
  return "?";
}
inline const char* nameOf(ArchiveLayout layout) { return layout == ArchiveLayout::Acv1 ? "Acv1" : "Legacy"; }

using test::RecordedReports;
using test::TempFolder;

// Every test starts from an empty engine whose game folder is a temporary folder.
class StorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetStorage();
    resetEngineState();
    engine().exeDirectory = game.path().string() + "/";
  }
  void TearDown() override {
    freeAligned(buffer);
    resetStorage();
    resetEngineState();
  }

  void writeArchive(const std::string& name, const std::vector<ArchiveMember>& members,
                    ArchiveMode mode = ArchiveMode::Compress, ArchiveLayout layout = ArchiveLayout::Acv1) {
    Bytes out;
    std::string error;
    ASSERT_TRUE(buildArchive(members, mode, layout, out, error)) << error;
    writeFile(game / name, out);
  }

  // Loads through the test's own buffer; `size` in is the requested size.
  bool load(std::string_view path, uint32_t requested = 0) {
    size = requested;
    return loadFile(path, buffer, size, capacity);
  }
  Bytes loaded() const { return Bytes(buffer, buffer + size); }

  TempFolder game;
  RecordedReports reports;
  uint8_t* buffer = nullptr;
  uint32_t size = 0;
  uint32_t capacity = 0;
};

}  // namespace vellum::test_support
