#include "findings.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace vellum::lint {

namespace {

const char* severityName(Severity s) {
  switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
  }
  return "error";
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

void Findings::add(std::string file, int line, int column, Severity severity, std::string message) {
  list_.push_back({std::move(file), line, column, severity, std::move(message)});
}

bool Findings::hasError() const {
  return std::any_of(list_.begin(), list_.end(), [](const Finding& f) { return f.severity == Severity::Error; });
}

std::vector<Finding> Findings::sorted() const {
  std::vector<Finding> out = list_;
  std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.file, a.line, a.column) < std::tie(b.file, b.line, b.column);
  });
  return out;
}

std::string formatLines(const std::vector<Finding>& findings) {
  std::string out;
  for (const Finding& f : findings) {
    out += f.file;
    if (f.line > 0) out += ":" + std::to_string(f.line);
    if (f.line > 0 && f.column > 0) out += ":" + std::to_string(f.column);
    out += std::string(": ") + severityName(f.severity) + ": " + f.message + "\n";
  }
  return out;
}

std::string formatJson(const std::vector<Finding>& findings) {
  std::string out = "[";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    out += i ? ",\n " : "\n ";
    out += "{\"file\": " + jsonString(f.file) + ", \"line\": " + std::to_string(f.line) +
           ", \"column\": " + std::to_string(f.column) + ", \"severity\": \"" + severityName(f.severity) +
           "\", \"message\": " + jsonString(f.message) + "}";
  }
  return out + (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace vellum::lint
