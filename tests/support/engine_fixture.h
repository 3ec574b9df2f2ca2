// Shared test scaffolding: a clean engine per test, a recorder for reports, and a way to run
// script text through the real interpreter without packing a container.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/report.h"
#include "support/recorded_reports.h"
#include "support/temp_folder.h"

namespace vellum::test {

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

  RecordedReports reports;
  TempFolder game;
  std::vector<std::string> shown;  // lines the text presenter wrote (UTF-8)
};

}  // namespace vellum::test
