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

#include "core/engine_state.h"
#include "core/report.h"
#include "storage/aligned_memory.h"
#include "storage/archive_writer.h"
#include "storage/file_loader.h"

namespace vellum::test_support {

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

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellum-storage-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "cannot create a temporary folder";
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Keeps every report made while it is installed.
class RecordedReports final : public ReportSink {
 public:
  RecordedReports() { previous_ = setReportSink(this); }
  ~RecordedReports() override { setReportSink(previous_); }
  RecordedReports(const RecordedReports&) = delete;
  RecordedReports& operator=(const RecordedReports&) = delete;

  void errorBox(const ReportText& text) override { boxes.push_back(text.bytes()); }
  void outputLine(const ReportText& text) override { lines.push_back(text.bytes()); }

  bool anyBoxContains(std::string_view bytes) const {
    for (const std::string& b : boxes)
      if (b.find(bytes) != std::string::npos) return true;
    return false;
  }
  void clear() {
    boxes.clear();
    lines.clear();
  }

  std::vector<std::string> boxes;
  std::vector<std::string> lines;

 private:
  ReportSink* previous_ = nullptr;
};

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
