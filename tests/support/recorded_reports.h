// Keeps every report made while it is installed, as the engine's bytes and as the UTF-8 text a
// person would have been shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/report.h"

namespace vellum::test {

class RecordedReports final : public ReportSink {
 public:
  RecordedReports() { previous_ = setReportSink(this); }
  ~RecordedReports() override { setReportSink(previous_); }
  RecordedReports(const RecordedReports&) = delete;
  RecordedReports& operator=(const RecordedReports&) = delete;

  void errorBox(const ReportText& text) override {
    boxes.push_back(text.bytes());
    shownBoxes.push_back(text.utf8());
  }
  void outputLine(const ReportText& text) override {
    lines.push_back(text.bytes());
    shownLines.push_back(text.utf8());
  }

  bool anyBoxContains(std::string_view bytes) const {
    for (const std::string& b : boxes)
      if (b.find(bytes) != std::string::npos) return true;
    return false;
  }
  void clear() {
    boxes.clear();
    lines.clear();
    shownBoxes.clear();
    shownLines.clear();
  }

  std::vector<std::string> boxes;       // bytes
  std::vector<std::string> lines;       // bytes
  std::vector<std::string> shownBoxes;  // UTF-8
  std::vector<std::string> shownLines;  // UTF-8

 private:
  ReportSink* previous_ = nullptr;
};

}  // namespace vellum::test
