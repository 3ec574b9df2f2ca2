// What the checker found: one problem at a place in a file, and the two forms it is written in
// (the FILE:LINE:COLUMN lines compilers write, which editors and CI read, and JSON for tools).
#pragma once

#include <string>
#include <vector>

namespace vellum::lint {

// A note says what could not be checked; only errors make the exit status 1.
enum class Severity { Error, Warning, Note };

struct Finding {
  std::string file;  // as the report names it (UTF-8)
  int line = 0;      // 1-based; 0 for the file as a whole
  int column = 0;    // 1-based, in characters; 0 for the whole line
  Severity severity = Severity::Error;
  std::string message;  // UTF-8
};

class Findings {
 public:
  void add(std::string file, int line, int column, Severity severity, std::string message);
  bool hasError() const;
  // In file, line and column order; two findings at one place keep the order they were made in.
  std::vector<Finding> sorted() const;

 private:
  std::vector<Finding> list_;
};

// "FILE:LINE:COLUMN: error: message" per finding, each with a line end.
std::string formatLines(const std::vector<Finding>& findings);
// A JSON array of objects with file, line, column, severity and message.
std::string formatJson(const std::vector<Finding>& findings);

}  // namespace vellum::lint
