// Shared test scaffolding: a clean engine per test, a recorder for reports, and a way to run
// script text through the real interpreter without packing a container.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/report.h"

namespace vellum::test {

// Captures every report instead of showing boxes or printing.
struct RecordingSink final : ReportSink {
  std::vector<std::string> boxes;  // UTF-8
  std::vector<std::string> lines;  // UTF-8
  std::vector<std::string> boxBytes;
  void errorBox(const ReportText& text) override {
    boxes.push_back(text.utf8());
    boxBytes.push_back(text.bytes());
  }
  void outputLine(const ReportText& text) override { lines.push_back(text.utf8()); }
};

// A fresh temporary folder, removed when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }
  std::string withSlash() const { return path_.string() + "/"; }
  void write(const std::string& relative, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

std::string readFileBytes(const std::filesystem::path& path);

// Converts UTF-8 test text to the engine's GBK bytes.
std::string gbk(const std::string& utf8);

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Parses `text` (GBK bytes) as a file, runs the label pass over it and, for slot 0 or 1, loads it
  // there as script/0.txt or script/1.txt. Returns the label pass result.
  bool addScript(const std::string& path, const std::string& text, int slot = -1);
  // Runs the interpreter from slot 0, line 0.
  void run();

  RecordingSink reports;
  TempFolder game;
  std::vector<std::string> shown;  // lines the text presenter wrote (UTF-8)
};

}  // namespace vellum::test
